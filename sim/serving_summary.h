// What vornsim tells its user once it serves: which units sit on which COM<n>, how
// programs reach them, and a command to try.
#pragma once

#include "simulator.h"

#include <string>

namespace vorn::sim {

// Lines for standard error, each starting "vornsim: ".
std::string servingSummary(const Simulator& simulator);

} // namespace vorn::sim
