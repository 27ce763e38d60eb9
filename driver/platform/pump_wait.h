// The library's one way of waiting: it blocks in poll() in short slices and
// runs one pump step of the calling thread per slice (due library timers,
// then the host's pump hook), so a host's user interface and frame-ready
// callbacks keep running during long waits. A quit request on the thread
// ends the wait at once; the quit stays pending until the host takes it back,
// so every further wait on that thread fails too.
#pragma once

#include <cstdint>

#include <poll.h>

namespace vorn::platform {

enum class WaitResult { Ready, TimedOut, Quit };

class PumpWait {
public:
    // Longest time between two pump steps.
    static constexpr uint32_t kSliceMs = 10;

    // Waits ms milliseconds. True when the time has passed, false on quit.
    static bool forMilliseconds(uint32_t ms);
    // Waits until fd has one of the poll events, or until the library clock
    // reaches deadlineMs (see clock.h).
    static WaitResult untilReady(int fd, short events, uint64_t deadlineMs);
    static WaitResult untilReadable(int fd, uint64_t deadlineMs) { return untilReady(fd, POLLIN, deadlineMs); }
    static WaitResult untilWritable(int fd, uint64_t deadlineMs) { return untilReady(fd, POLLOUT, deadlineMs); }
};

} // namespace vorn::platform
