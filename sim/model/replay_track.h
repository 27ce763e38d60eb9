// One sensor's recorded poses, played back at the recorded pace: the pose a
// unit reports at a time after the replay started is the recorded frame of
// that time, so a unit that measures at the recorded rate reports every
// frame once, in order, and a faster or slower one repeats or skips frames.
#pragma once

#include "model/pose.h"

#include <vector>

namespace vorn::sim {

struct ReplayTrack {
    std::vector<Pose> poses; // one per recorded frame
    double framePeriodS = 1.0 / 103.3;
    bool loop = false; // start over after the last frame, else hold it

    Pose poseAt(double elapsedSeconds) const;
};

} // namespace vorn::sim
