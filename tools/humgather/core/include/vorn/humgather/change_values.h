#pragma once
// Change value: the bytes each parameter's entry goes out as, after "P" and the parameter number.
// Pure: entries in, bytes out.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "vorn/humgather/program_settings.h"

namespace vorn::humgather {

inline constexpr float kLowestMeasurementRate = 12.0f;

// A word, least significant byte first; values outside 16 bits keep their low 16 bits, so a
// negative value goes as its two's complement.
void appendWord(std::vector<std::uint8_t>& out, std::int32_t value);

// Byte parameters take 0..255; anything else is refused (nullopt) and asked again.
std::optional<std::uint8_t> byteValue(std::int32_t entry);

// Filters: a set bit switches a filter off: 1 adaptive DC, 2 wide notch, 4 two-cycle.
std::int32_t filterWord(std::int32_t dcOff, std::int32_t wideNotchOff, std::int32_t twoCycleOff);

// Measurement rate count for a rate in cycles per second and the timer tick in microseconds;
// counts above 32767 travel as count - 65536.
std::int32_t rateCountWord(float rate, float timerTickMicroseconds);
// Measurement rate x 256.
std::int32_t rateWord(float rate);

// The rates, in hundredths, whose coding fits a word (a count of 1..65535). The count falls as
// the rate rises and grows with the crystal speed, so a fast unit cannot take the slowest rates
// (at 40 MHz nothing below 18.97); the rate word only has a highest rate.
struct RateRange {
    double lowest = kLowestMeasurementRate;
    double highest = 0.0;
};
RateRange codableRates(bool asCount, float timerTickMicroseconds);

// A gain-state table: each entry x scale, rounded.
std::vector<std::uint8_t> tableBytes(std::span<const float, 7> entries, float scale);

// Metal detection: five words, each value in the low byte (offset and slope below 0 as value + 256).
std::vector<std::uint8_t> metalDetectionBytes(const MetalDetectionEntry& entry);

} // namespace vorn::humgather
