// Turns a frame into the TRANSFORM messages of its sensors, one per unit
// that delivers data, named "Sensor<address>ToTracker".
#pragma once

#include "measurement.h"

#include <vorn/vorn.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vornigtl {

class FrameEncoder {
public:
    explicit FrameEncoder(std::vector<vornctl::UnitLayout> units);

    // Bytes of all messages of one frame, in unit order.
    std::size_t frameSize() const;
    // Writes frameSize() bytes into `out`, every header stamped `timestamp`
    // (OpenIGTLink's 64-bit time). Allocates nothing.
    void encode(const VornFrame& frame, uint64_t timestamp, uint8_t* out) const;

    const std::vector<std::string>& deviceNames() const { return names_; }

private:
    std::vector<vornctl::UnitLayout> units_;
    std::vector<std::string> names_;
};

std::string deviceNameOf(int address);

} // namespace vornigtl
