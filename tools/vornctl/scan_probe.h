// What is on one serial port: asked with examine commands only, which change
// nothing on a unit, at each baud rate in turn until one answers like a unit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vornctl {

struct BusUnit {
    int address = 0;
    uint8_t statusByte = 0; // the system status answer's byte for this address
};

struct PortFinding {
    enum class Outcome { Found, Busy, NoPermission, CannotOpen, Silent, Garbage };
    Outcome outcome = Outcome::Silent;
    std::string reason; // for every outcome but Found
    uint32_t baud = 0;
    uint16_t revision = 0; // integer part x 256 + fraction
    uint16_t crystalMHz = 0;
    uint8_t addressingMode = 0; // 0 normal, 1 expanded, 2 super-expanded
    uint16_t statusWord = 0;
    std::string model;          // blanks trimmed
    bool master = false;        // status word bit 15
    std::vector<BusUnit> units; // a master's units on the bus, by the system status answer
};

// Called before each baud rate is tried, for a progress line.
using ProbeProgress = std::function<void(uint32_t baud)>;

PortFinding probePort(const std::string& path, const std::vector<uint32_t>& bauds, uint32_t answerTimeoutMs,
                      const ProbeProgress& progress);

} // namespace vornctl
