#pragma once
// The console tools' number reading: the longest number at the start of a text.
#include <cstdint>
#include <string_view>

namespace vorn::console {

// Leading blanks are skipped; then a sign, digits, a decimal point and an exponent ("E" or "D")
// are taken as far as they form a number, or "&H" introduces a hexadecimal number (up to four
// digits read as a signed 16-bit value, up to eight as a signed 32-bit value). No number gives 0.
double parseLeadingNumber(std::string_view text);

// Rounds to the nearest integer, halves to even, and keeps the result within 32 bits.
std::int32_t roundToInt32(double value);
// The same, keeping only the low 16 bits of the rounded value (as a 16-bit variable would).
std::int16_t roundToInt16(double value);

}  // namespace vorn::console
