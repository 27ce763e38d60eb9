// The settings of the networked controller and the ISA boards: the keys of the
// configuration file's "[controller]", "[controller unit N]", "[isa]" and "[isa unit N]"
// sections, which the command-line options share.
#pragma once

#include "simulator_config.h"

#include <string>
#include <string_view>

namespace vorn::sim {

// Each returns an error text, or "" on success.

// "units" creates the controller (or resizes it); the other keys need one.
std::string applyControllerSetting(SimulatorConfig& config, std::string_view key, std::string_view value);
std::string applyControllerUnitSetting(SimulatorConfig& config, unsigned address, std::string_view key,
                                       std::string_view value);

// "boards" or "pv2" create the boards; unit keys need the unit to be on them.
std::string applyIsaSetting(SimulatorConfig& config, std::string_view key, std::string_view value);
std::string applyIsaUnitSetting(SimulatorConfig& config, unsigned address, std::string_view key,
                                std::string_view value);

// The keys and what they mean, for --help.
std::string controllerSettingsHelp();
std::string controllerUnitSettingsHelp();
std::string isaSettingsHelp();
std::string isaUnitSettingsHelp();

} // namespace vorn::sim
