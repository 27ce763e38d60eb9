// What a simulated networked controller is: its software revision, its units
// and how it starts up.
#pragma once

#include "model/sensor_model.h"

#include <cstdint>
#include <vector>

namespace vorn::sim {

struct ControllerUnitConfig {
    uint8_t address = 1; // 1..120
    bool sensor = true;
    uint8_t dataFormat = 8; // position/quaternion
    bool button = false;    // records carry a button word
    uint16_t buttonValue = 0;
    uint8_t typeCode = 1; // the device block's second byte
    uint16_t softwareRevision = 0x0343;
    SensorConfig sensorModel;
};

struct ControllerConfig {
    uint16_t softwareRevision = 0x0300; // 3.0; 0x01xx is a 1.x controller that takes no single shots
    double measurementRate = 103.3;     // Hz
    uint8_t reportRate = 1;             // every n-th cycle streams a packet
    uint16_t port = 0;                  // loopback TCP port; 0: the kernel picks one
    std::vector<ControllerUnitConfig> units;
    // The room the sensors move in; a simulator gives its own to every link.
    std::vector<MetalObject> metal;
    uint64_t seed = 1;
};

// A controller with `units` units at addresses 1..units.
ControllerConfig controllerConfig(unsigned units = 3);

} // namespace vorn::sim
