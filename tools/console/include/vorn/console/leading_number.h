#pragma once
// The console tools' number reading: the longest number at the start of a text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vorn::console {

// Leading blanks are skipped; then a sign, digits, a decimal point and an exponent ("E" or "D")
// are taken as far as they form a number, or "&H" introduces a hexadecimal number (up to four
// digits read as a signed 16-bit value, up to eight as a signed 32-bit value). No number gives 0.
double parseLeadingNumber(std::string_view text);

// Where the number at the start of `text` ends (its leading blanks included), or 0 when the text
// does not start with a number, so "abc" and "- 5" give 0 and "12abc" gives 2.
std::size_t leadingNumberLength(std::string_view text);

// The text as one finite number and nothing else but blanks around it ("12abc", "1,5", "nan" and
// "1e999" are not numbers); nothing otherwise.
std::optional<double> parseWholeNumber(std::string_view text);

// Rounds to the nearest integer, halves to even, and keeps the result within 32 bits.
std::int32_t roundToInt32(double value);
// The same, keeping only the low 16 bits of the rounded value (as a 16-bit variable would).
std::int16_t roundToInt16(double value);

} // namespace vorn::console
