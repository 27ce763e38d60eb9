#include "config/measurement_rate.h"

#include <cmath>

namespace vorn::rate {

namespace {

std::optional<uint16_t> wordOf(double value)
{
    const double truncated = std::trunc(value);
    if (!std::isfinite(truncated) || truncated < 0 || truncated > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(truncated);
}

} // namespace

std::optional<uint16_t> wordForRate(double hz, uint16_t softwareRevision, uint16_t crystalSpeedMhz)
{
    if (!std::isfinite(hz) || hz <= 0)
        return std::nullopt;
    if (softwareRevision > kLastCountRevision) {
        // A word of 0 would be a rate of 0: refused like the rate itself.
        const auto word = wordOf(hz * 256);
        return word && *word != 0 ? word : std::nullopt;
    }
    if (crystalSpeedMhz == 0)
        return std::nullopt;
    return wordOf((1000000.0 / hz - 300) * crystalSpeedMhz * 0.03125);
}

std::optional<double> rateOfCount(uint16_t count, uint16_t crystalSpeedMhz)
{
    if (crystalSpeedMhz == 0)
        return std::nullopt;
    return 1000000.0 / (count * 32.0 / crystalSpeedMhz + 300);
}

double rateOfWord(uint16_t word)
{
    return word / 256.0;
}

} // namespace vorn::rate
