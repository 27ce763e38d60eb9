// Everything a simulator instance is made of: its units, its lines and its surroundings.
#pragma once

#include "controller/controller_config.h"
#include "isa/isa_config.h"
#include "model/magnetic_environment.h"
#include "model/sensor_model.h"
#include "unit/unit_config.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace vorn::sim {

struct SimulatorConfig {
    std::vector<UnitConfig> units;       // one vornset (master first) or one stand-alone unit at address 0
    unsigned firstPort = 1;              // lines become COM<firstPort>, COM<firstPort+1>... in address order
    std::filesystem::path linkDirectory; // where the COM<n> links go; empty: a fresh temporary folder
    std::vector<MetalObject> metal;
    MagneticEnvironment environment; // what the units' receivers pick up in test mode
    uint64_t seed = 1;
    std::chrono::milliseconds restartSilence {4000};
    std::chrono::milliseconds partialCommandTimeout {250};
    std::optional<ControllerConfig> controller; // a networked controller on a loopback TCP port
    std::optional<IsaConfig> isa;               // ISA boards behind a port-I/O socket
};

// A vornset of `units` units: the master at address 1 on a line of its own, the others
// behind it on the FVB. Sensors move on a circle each, one after another.
SimulatorConfig vornsetConfig(unsigned units = 3);

// One stand-alone unit (address 0) on its own line.
SimulatorConfig standAloneConfig();

} // namespace vorn::sim
