// Reads the simulator's settings from "key = value" text: the configuration file and the
// command-line options share these rules, so every unit setting has one spelling.
#pragma once

#include "settings/value_parsers.h"
#include "simulator_config.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::sim {

// Applies one unit key ("revision", "trajectory", ...). Returns an error text, or "" on success.
std::string applyUnitSetting(UnitConfig& unit, std::string_view key, std::string_view value);

// Applies one key of the magnetic environment ("mains", "hum", "tones"...): an error text or ""
// when it is one, nullopt when `key` is no environment key.
std::optional<std::string> applyEnvironmentSetting(MagneticEnvironment& environment, std::string_view key,
                                                   std::string_view value);

// Applies one key of the file's top part ("first-port", "seed", "metal", ...).
std::string applySystemSetting(SimulatorConfig& config, std::string_view key, std::string_view value);

// Reads a whole configuration file's text. Sections "[unit N]" describe units; when there is
// any, they replace the configured units. Errors carry their line numbers.
std::vector<std::string> applyConfigText(SimulatorConfig& config, std::string_view text);

// The keys and what they mean, for --help.
std::string settingsHelp();

} // namespace vorn::sim
