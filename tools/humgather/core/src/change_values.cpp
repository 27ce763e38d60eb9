#include "vorn/humgather/change_values.h"

#include <algorithm>
#include <cmath>

#include "vorn/console/leading_number.h"

namespace vorn::humgather {

void appendWord(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto word = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<std::uint8_t>(word & 0xFF));
    out.push_back(static_cast<std::uint8_t>(word >> 8));
}

std::optional<std::uint8_t> byteValue(std::int32_t entry)
{
    if (entry < 0 || entry > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(entry);
}

std::int32_t filterWord(std::int32_t dcOff, std::int32_t wideNotchOff, std::int32_t twoCycleOff)
{
    return dcOff + 2 * wideNotchOff + 4 * twoCycleOff;
}

std::int32_t rateCountWord(float rate, float timerTickMicroseconds)
{
    const double count = ((1000.0 / rate - 0.3) / 4.0) * 1000.0 / timerTickMicroseconds;
    std::int32_t word = console::roundToInt32(count);
    if (word > 32767)
        word -= 65536;
    return word;
}

std::int32_t rateWord(float rate)
{
    std::int32_t word = console::roundToInt32(static_cast<double>(rate) * 256.0);
    if (word > 32767)
        word -= 65536;
    return word;
}

RateRange codableRates(bool asCount, float timerTickMicroseconds)
{
    constexpr double kLargestWord = 65535.0;
    auto down = [](double rate) { return std::floor(rate * 100.0) / 100.0; };
    auto up = [](double rate) { return std::ceil(rate * 100.0) / 100.0; };
    if (!asCount)
        return {kLowestMeasurementRate, down(kLargestWord / 256.0)};
    // The rate of a count: the inverse of the count's formula in rateCountWord().
    const double tick = timerTickMicroseconds;
    auto rateOfCount = [tick](double count) { return 1000.0 / (4.0 * count * tick / 1000.0 + 0.3); };
    return {std::max<double>(kLowestMeasurementRate, up(rateOfCount(kLargestWord))), down(rateOfCount(1.0))};
}

std::vector<std::uint8_t> tableBytes(std::span<const float, 7> entries, float scale)
{
    std::vector<std::uint8_t> out;
    for (float entry : entries)
        appendWord(out, console::roundToInt32(static_cast<double>(entry) * scale));
    return out;
}

std::vector<std::uint8_t> metalDetectionBytes(const MetalDetectionEntry& entry)
{
    auto lowByte = [](std::int32_t value) { return value < 0 ? value + 256 : value; };
    std::vector<std::uint8_t> out;
    for (std::int32_t value : {std::int32_t {entry.flag}, std::int32_t {entry.sensitivity}, lowByte(entry.offset),
                               lowByte(entry.slope), std::int32_t {entry.alpha}})
        out.insert(out.end(), {static_cast<std::uint8_t>(value & 0xFF), 0});
    return out;
}

} // namespace vorn::humgather
