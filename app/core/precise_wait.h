// Pacing of frame requests: waits until a deadline by sleeping until just
// before it and spinning only for the last stretch, so the timing stays
// exact without keeping a core busy for the whole period.
#pragma once

#include <atomic>
#include <chrono>

namespace vornscope {

using PaceClock = std::chrono::steady_clock;

// Waits until `deadline`; returns early (false) when `stop` becomes true.
bool waitUntil(PaceClock::time_point deadline, const std::atomic<bool>* stop = nullptr);
// Waits for `milliseconds` from now.
bool waitFor(double milliseconds, const std::atomic<bool>* stop = nullptr);

} // namespace vornscope
