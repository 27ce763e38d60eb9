#include "stop_request.h"

#include <atomic>
#include <csignal>

namespace vornctl {

namespace {

std::atomic<bool> gStop {false};

extern "C" void onStopSignal(int)
{
    gStop.store(true);
}

} // namespace

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocking wait returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested()
{
    return gStop.load();
}

} // namespace vornctl
