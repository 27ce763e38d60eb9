#include "core/link_watch.h"

namespace vornscope {

bool LinkWatch::failed(Clock::time_point now)
{
    if (!firstFailure_) {
        firstFailure_ = now;
        return false;
    }
    return now - *firstFailure_ >= lostAfter_;
}

} // namespace vornscope
