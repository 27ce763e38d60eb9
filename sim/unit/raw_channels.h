// What the unit's converter reads in test mode on each receiver multiplexer code: the three
// receiver axes see the magnetic environment, the other codes fixed supply and reference
// levels, and code 8 steps through the three axes sample by sample.
#pragma once

#include "model/magnetic_environment.h"

#include <cstdint>

namespace vorn::sim {

namespace mux {
inline constexpr uint8_t kReceiverX = 0;
inline constexpr uint8_t kReceiverY = 1;
inline constexpr uint8_t kReceiverZ = 2;
inline constexpr uint8_t kDriverCurrent = 3;
inline constexpr uint8_t kSupply = 4;
inline constexpr uint8_t kHalfVoltReference = 5;
inline constexpr uint8_t kSmallReference = 6;
inline constexpr uint8_t kGround = 7;
inline constexpr uint8_t kReceiverCycle = 8;
} // namespace mux

class RawChannels {
public:
    // `fullScaleVolts` is the level of the converter's largest code.
    RawChannels(const MagneticEnvironment& environment, double fullScaleVolts, uint64_t seed);

    // The converter's reading on `muxCode` at `seconds`; `index` counts samples of a recording.
    int16_t sample(uint8_t muxCode, uint64_t index, double seconds);

    // The level in volts before the converter, for the same arguments.
    double volts(uint8_t muxCode, uint64_t index, double seconds);

private:
    ReceiverSignal signal_;
    double fullScaleVolts_;
};

} // namespace vorn::sim
