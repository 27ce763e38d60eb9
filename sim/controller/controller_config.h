// What a simulated networked controller is: its software revision, its units
// and how it starts up.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn::sim {

struct ControllerUnitConfig {
    uint8_t address = 1;          // 1..120
    bool sensor = true;
    uint8_t dataFormat = 8;       // position/quaternion
    bool button = false;          // records carry a button word
    uint16_t buttonValue = 0;
    uint8_t typeCode = 1;         // the device block's second byte
    uint16_t softwareRevision = 0x0343;
};

struct ControllerConfig {
    uint16_t softwareRevision = 0x0300; // 3.0; 0x01xx is a 1.x controller that takes no single shots
    double measurementRate = 103.3;     // Hz
    uint8_t reportRate = 1;             // every n-th cycle streams a packet
    std::vector<ControllerUnitConfig> units;
};

// A controller with `units` units at addresses 1..units.
ControllerConfig controllerConfig(unsigned units = 3);

} // namespace vorn::sim
