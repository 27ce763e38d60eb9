// What every replay reader promises of the motion it read, whatever the text: addresses a unit
// can have, a finite frame period, and a track per sensor with one finite pose per frame.
#pragma once

#include "fuzz_check.h"
#include "replay/recorded_motion.h"

#include <cmath>

namespace vorn::fuzz {

inline bool finitePose(const vorn::sim::Pose& pose)
{
    for (const double v : pose.position)
        if (!std::isfinite(v))
            return false;
    for (const auto& row : pose.orientation)
        for (const double v : row)
            if (!std::isfinite(v))
                return false;
    return true;
}

inline void checkRecordedMotion(const vorn::sim::RecordedMotion& motion)
{
    using namespace vorn::sim;
    check(!motion.kind.empty());
    for (const auto& frame : motion.frames)
        for (const auto& entry : frame.sensors)
            check(entry.first >= 0 && entry.first <= 126);
    const double period = framePeriodOf(motion);
    check(std::isfinite(period) && period > 0);
    for (const int sensor : sensorsOf(motion)) {
        const ReplayTrack track = trackOf(motion, sensor, sensor % 2 == 0);
        check(track.poses.size() == motion.frames.size());
        for (const auto& pose : track.poses)
            check(finitePose(pose));
        check(finitePose(track.poseAt(period * static_cast<double>(motion.frames.size()) * 1.5)));
    }
}

} // namespace vorn::fuzz
