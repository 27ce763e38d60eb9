#include "stop_request.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace vornctl {

namespace {

std::atomic<bool> gStop {false};
// Written to by the handler so that a sleep on any thread wakes at once.
int gStopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    gStop.store(true);
    if (gStopPipe[1] >= 0) [[maybe_unused]]
        const ssize_t put = ::write(gStopPipe[1], "x", 1);
}

} // namespace

void installStopHandlers()
{
    if (gStopPipe[0] < 0 && ::pipe2(gStopPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        gStopPipe[0] = gStopPipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocking wait returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested()
{
    return gStop.load();
}

bool sleepUnlessStopped(std::chrono::milliseconds time)
{
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + time;
    while (!stopRequested()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            return false;
        // The pipe stays readable once written: the flag ends the loop.
        pollfd stop {gStopPipe[0], POLLIN, 0};
        ::poll(&stop, 1, static_cast<int>(left));
    }
    return true;
}

} // namespace vornctl
