// The keys of a sensor's physical model (trajectory, noise), the same for the units of
// every link: RS232 units, the controller's units and the ISA boards' units.
#pragma once

#include "model/sensor_model.h"

#include <optional>
#include <string>
#include <string_view>

namespace vorn::sim {

// Applies one sensor key: an error text or "" when it is one, nullopt when it is not.
std::optional<std::string> applySensorSetting(SensorConfig& sensor, std::string_view key, std::string_view value);

// The keys and what they mean, for --help.
std::string sensorSettingsHelp();

} // namespace vorn::sim
