// The frames' millisecond clock mapped to wall-clock time (seconds since
// 1970, as OpenIGTLink clients such as 3D Slicer expect), once per session:
// the first frame fixes the offset, later frames keep their own spacing, so
// a wall clock that is set while streaming does not make frames jump.
#pragma once

#include <cstdint>
#include <functional>

namespace vornigtl {

class WallClockMap {
public:
    // `nowNs`: nanoseconds since 1970 (the realtime clock unless a test gives one).
    explicit WallClockMap(std::function<uint64_t()> nowNs = {});

    // The OpenIGTLink time stamp of a frame stamped `frameMs`.
    uint64_t timestampOf(uint32_t frameMs);

private:
    std::function<uint64_t()> nowNs_;
    bool anchored_ = false;
    uint32_t anchorMs_ = 0;
    uint64_t anchorNs_ = 0;
};

} // namespace vornigtl
