// 1 ms timer-resolution requests. Linux timers already have millisecond
// resolution, so a request is always granted; the count is kept so that
// every wake-up and shut-down stay paired and tests can see it.
#pragma once

namespace vorn::platform {

bool requestMillisecondResolution();
void releaseMillisecondResolution();
int heldResolutionRequests();

} // namespace vorn::platform
