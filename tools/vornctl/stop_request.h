// Ctrl-C and SIGTERM as a request to stop: the running job ends at its next
// step and the group is shut down cleanly.
#pragma once

namespace vornctl {

void installStopHandlers();
bool stopRequested();

} // namespace vornctl
