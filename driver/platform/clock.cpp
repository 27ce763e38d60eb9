#include "platform/clock.h"

#include <atomic>
#include <ctime>

namespace vorn::platform {
namespace {

uint64_t monotonicMs()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

std::atomic<ClockSource> source {&monotonicMs};

} // namespace

uint64_t nowMs()
{
    return source.load(std::memory_order_relaxed)();
}

void setClockForTesting(ClockSource replacement)
{
    source.store(replacement != nullptr ? replacement : &monotonicMs, std::memory_order_relaxed);
}

} // namespace vorn::platform
