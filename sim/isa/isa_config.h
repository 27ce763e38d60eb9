// What simulated ISA boards are: the units, which of them sit on a board of
// their own (and at which base address) and what each reports.
#pragma once

#include "model/sensor_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::sim {

struct IsaUnitConfig {
    uint8_t address = 1; // 0 for a stand-alone unit, else its FVB address
    uint16_t base = 0;   // board base address; 0: reached through the master's board
    uint16_t softwareRevision = 0x0343;
    uint16_t crystalSpeed = 20; // MHz
    bool sensor = true;
    uint8_t transmitterBits = 0x01; // unit status byte bits 0-4
    uint8_t dataFormat = 4;         // after a reset
    double measurementRate = 103.3; // Hz after a reset
    uint8_t addressingMode = 0;     // the master's
    uint8_t errorCode = 0;
    uint16_t buttonValue = 0;
    std::string model = "6DKVA"; // blank padded to ten characters on the wire
    SensorConfig sensorModel;
};

struct IsaConfig {
    std::vector<IsaUnitConfig> units; // the master (or the stand-alone unit) first
    // The room the sensors move in; a simulator gives its own to every link.
    std::vector<MetalObject> metal;
    uint64_t seed = 1;
};

// One stand-alone unit on a board at `base`.
IsaConfig isaStandAloneConfig(uint16_t base = 0x300);
// A vornset whose units 1..n sit on boards at the given bases (0: behind the master).
IsaConfig isaVornsetConfig(const std::vector<uint16_t>& bases);
// A master board at `base` and a second unit reached only through it.
IsaConfig pv2Config(uint16_t base = 0x300);

// A base address as people write it: 0x300.
std::string baseText(uint16_t base);
// Why two boards would answer the same ports (a board takes four from its base), or empty.
std::string boardOverlap(const IsaConfig& config);

} // namespace vorn::sim
