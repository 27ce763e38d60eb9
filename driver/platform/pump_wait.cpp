#include "platform/pump_wait.h"

#include "platform/clock.h"
#include "platform/thread_context.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace vorn::platform {

namespace {

// Sleeps (or waits for fd) at most until the next slice, the deadline or the
// next due timer, whichever comes first. True when fd became ready.
bool sleepOneSlice(ThreadContext& thread, int fd, short events, uint64_t deadlineMs)
{
    const uint64_t now = nowMs();
    int64_t sliceMs = deadlineMs > now ? static_cast<int64_t>(deadlineMs - now) : 0;
    sliceMs = std::min<int64_t>(sliceMs, PumpWait::kSliceMs);
    const int64_t timerMs = thread.msUntilNextTimer();
    if (timerMs >= 0)
        sliceMs = std::min(sliceMs, timerMs);
    // Never a zero-length poll in a loop: that would spin.
    sliceMs = std::max<int64_t>(sliceMs, 1);

    pollfd watched {fd, events, 0};
    const int result = ::poll(&watched, fd >= 0 ? 1 : 0, static_cast<int>(sliceMs));
    // Errors and hang-ups count as ready: the caller's read reports them.
    return result > 0 && fd >= 0 && watched.revents != 0;
}

} // namespace

WaitResult PumpWait::untilReady(int fd, short events, uint64_t deadlineMs)
{
    ThreadContext& thread = *ThreadContext::current();
    for (;;) {
        if (thread.quitPending())
            return WaitResult::Quit;
        thread.pumpStep();
        if (thread.quitPending())
            return WaitResult::Quit;
        if (fd >= 0) {
            pollfd now {fd, events, 0};
            if (::poll(&now, 1, 0) > 0 && now.revents != 0)
                return WaitResult::Ready;
        }
        if (nowMs() > deadlineMs)
            return WaitResult::TimedOut;
        if (sleepOneSlice(thread, fd, events, deadlineMs))
            return WaitResult::Ready;
    }
}

bool PumpWait::forMilliseconds(uint32_t ms)
{
    return untilReady(-1, 0, nowMs() + ms) == WaitResult::TimedOut;
}

} // namespace vorn::platform
