// The sensor of a simulated unit behind the controller or on an ISA board:
// a slow circle, each unit on its own radius, so consecutive frames differ
// and every field of a reading is filled.
#pragma once

#include <vorn/vorn.h>

#include <cstdint>

namespace vorn::sim {

VornReading circleReading(uint8_t address, double seconds);

} // namespace vorn::sim
