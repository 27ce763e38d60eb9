#include "wall_clock_map.h"

#include "igtl_codec.h"

#include <ctime>

namespace vornigtl {

namespace {

uint64_t realtimeNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

} // namespace

WallClockMap::WallClockMap(std::function<uint64_t()> nowNs) : nowNs_(nowNs ? std::move(nowNs) : realtimeNs) {}

uint64_t WallClockMap::timestampOf(uint32_t frameMs)
{
    if (!anchored_) {
        anchored_ = true;
        anchorMs_ = frameMs;
        anchorNs_ = nowNs_();
    }
    // Unsigned difference: a millisecond clock that wraps (after 49 days) still counts on.
    const uint64_t ns = anchorNs_ + static_cast<uint64_t>(static_cast<uint32_t>(frameMs - anchorMs_)) * 1000000u;
    return vornigtl::timestampOf(static_cast<uint32_t>(ns / 1000000000u), static_cast<uint32_t>(ns % 1000000000u));
}

} // namespace vornigtl
