// Ctrl-C and SIGTERM as a request to stop: the running job ends at its next
// step and the group is shut down cleanly.
#pragma once

#include <chrono>

namespace vornctl {

void installStopHandlers();
bool stopRequested();
// Sleeps for `time` unless a stop is requested first (blocking, not polling
// the flag); returns whether one was.
bool sleepUnlessStopped(std::chrono::milliseconds time);

} // namespace vornctl
