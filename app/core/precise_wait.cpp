#include "core/precise_wait.h"

#include <thread>

namespace vornscope {
namespace {

// The scheduler may wake a sleeper this late; the rest is spun.
constexpr auto kSpinStretch = std::chrono::microseconds(1500);
// Sleep in slices so a stop request is seen quickly.
constexpr auto kSleepSlice = std::chrono::milliseconds(20);

bool stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

} // namespace

bool waitUntil(PaceClock::time_point deadline, const std::atomic<bool>* stop)
{
    for (;;) {
        if (stopped(stop))
            return false;
        const auto remaining = deadline - PaceClock::now();
        if (remaining <= PaceClock::duration::zero())
            return true;
        if (remaining > kSpinStretch)
            std::this_thread::sleep_for(std::min<PaceClock::duration>(remaining - kSpinStretch, kSleepSlice));
        else
            std::this_thread::yield();
    }
}

bool waitFor(double milliseconds, const std::atomic<bool>* stop)
{
    const auto period =
        std::chrono::duration_cast<PaceClock::duration>(std::chrono::duration<double, std::milli>(milliseconds));
    return waitUntil(PaceClock::now() + period, stop);
}

} // namespace vornscope
