// The library's millisecond clock: CLOCK_MONOTONIC, i.e. milliseconds since
// the system started. Tests may inject their own clock.
#pragma once

#include <cstdint>

namespace vorn::platform {

using ClockSource = uint64_t (*)();

uint64_t nowMs();

// Replaces the clock for tests; nullptr restores the system clock.
void setClockForTesting(ClockSource source);

} // namespace vorn::platform
