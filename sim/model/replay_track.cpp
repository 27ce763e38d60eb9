#include "model/replay_track.h"

#include <cmath>

namespace vorn::sim {

Pose ReplayTrack::poseAt(double elapsedSeconds) const
{
    if (poses.empty())
        return {};
    // Rounded: a measurement a little late or early is still its own frame's.
    const double frame = std::max(0.0, std::round(elapsedSeconds / std::max(framePeriodS, 1e-6)));
    const auto count = static_cast<double>(poses.size());
    const double index = loop ? std::fmod(frame, count) : std::min(frame, count - 1);
    return poses[static_cast<std::size_t>(index)];
}

} // namespace vorn::sim
