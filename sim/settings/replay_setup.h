// Puts recorded motion on the units of every link of a simulator: a unit at
// address A reports the file's sensor A; a stand-alone unit (address 0)
// reports sensor 0, else the file's first sensor. Units the file does not
// name keep their own trajectory.
#pragma once

#include "replay/recorded_motion.h"
#include "simulator_config.h"

namespace vorn::sim {

// Returns the number of units that replay the file.
int applyReplay(SimulatorConfig& config, const RecordedMotion& motion, bool loop);

} // namespace vorn::sim
