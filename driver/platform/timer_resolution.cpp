#include "platform/timer_resolution.h"

#include <atomic>

namespace vorn::platform {
namespace {
std::atomic<int> held {0};
}

bool requestMillisecondResolution()
{
    held.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void releaseMillisecondResolution()
{
    // Never below zero, even if a release is unpaired.
    int current = held.load(std::memory_order_relaxed);
    while (current > 0 && !held.compare_exchange_weak(current, current - 1, std::memory_order_relaxed)) {
    }
}

int heldResolutionRequests()
{
    return held.load(std::memory_order_relaxed);
}

} // namespace vorn::platform
