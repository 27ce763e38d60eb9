// The process-wide 5 ms timer that delivers frame-ready callbacks. It runs
// from the first wake-up to the shut-down of the last group, on the thread
// that started it, and fires only while that thread pumps (a library wait,
// vornHostPump, or vornHostDispatch).
#pragma once

namespace vorn {
struct VornGroup;
}

namespace vorn::frameReadyTimer {

constexpr unsigned kPeriodMs = 5;

// Starts the timer if none runs. Reports "No timer resource is available."
// and returns false if it cannot start.
bool ensureRunning();
// Stops the timer when every slot is empty.
void stopIfIdle();
bool running();

using ReadyQuery = int (*)(VornGroup&);
// One pass of the timer's procedure: every group 0..256 with a callback that
// has not fired, that no call is busy with, and whose query answers yes,
// gets its callback once.
void deliverCallbacks(ReadyQuery isReady);

// The query the timer asks (the frameReady worker unless a test replaces it;
// nullptr restores it).
void setReadyQueryForTesting(ReadyQuery isReady);

} // namespace vorn::frameReadyTimer
