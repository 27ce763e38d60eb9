#include "unit/raw_channels.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vorn::sim {

namespace {

// How much of the field each receiver axis catches: the axes lie differently in it, which
// also lets a recording show which axis was selected.
constexpr std::array<double, 3> kAxisGain = {1.0, 0.7, 0.45};
constexpr double kDriverCurrentVolts = 1.2;
constexpr double kSupplyVolts = 2.5;
constexpr double kHalfVoltReference = 0.5;
constexpr double kSmallReference = 0.05;
// Supplies and references are quiet: a tenth of the environment's noise, no field.
constexpr double kReferenceNoiseShare = 0.1;

} // namespace

RawChannels::RawChannels(const MagneticEnvironment& environment, double fullScaleVolts, uint64_t seed)
    : signal_(environment, seed), fullScaleVolts_(fullScaleVolts)
{
}

double RawChannels::volts(uint8_t muxCode, uint64_t index, double seconds)
{
    auto quiet = [&](double level) { return level + kReferenceNoiseShare * (signal_.volts(seconds, 0.0)); };
    switch (muxCode) {
    case mux::kReceiverX:
    case mux::kReceiverY:
    case mux::kReceiverZ: return signal_.volts(seconds, kAxisGain[muxCode]);
    case mux::kReceiverCycle: return signal_.volts(seconds, kAxisGain[index % kAxisGain.size()]);
    case mux::kDriverCurrent: return quiet(kDriverCurrentVolts);
    case mux::kSupply: return quiet(kSupplyVolts);
    case mux::kHalfVoltReference: return quiet(kHalfVoltReference);
    case mux::kSmallReference: return quiet(kSmallReference);
    default: return quiet(0.0); // ground, and codes that select nothing
    }
}

int16_t RawChannels::sample(uint8_t muxCode, uint64_t index, double seconds)
{
    const double code = std::round(volts(muxCode, index, seconds) / fullScaleVolts_ * 32768.0);
    return static_cast<int16_t>(std::clamp(code, -32768.0, 32767.0));
}

} // namespace vorn::sim
