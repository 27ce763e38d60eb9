#include "replay/recorded_motion.h"

#include <cmath>

namespace vorn::sim {

namespace {

constexpr double kDefaultPeriodS = 1.0 / 103.3;
// Where a sensor without recorded positions stands: in front of the transmitter.
constexpr Vector3 kDefaultPosition {12.0, 0.0, 4.0};

Pose poseOf(const RecordedSensor& sensor)
{
    Pose pose;
    pose.position = sensor.position.value_or(kDefaultPosition);
    if (sensor.matrix)
        pose.orientation = *sensor.matrix;
    else if (sensor.quaternion)
        pose.orientation = matrixOfQuaternion(*sensor.quaternion);
    else if (sensor.angles)
        pose.orientation = matrixOfAngles(*sensor.angles);
    return pose;
}

} // namespace

double framePeriodOf(const RecordedMotion& motion)
{
    if (motion.framePeriodS && *motion.framePeriodS > 0)
        return *motion.framePeriodS;
    const auto& frames = motion.frames;
    if (frames.size() >= 2 && frames.front().timeS && frames.back().timeS) {
        // Stamps far apart either side of zero can span more than a double holds.
        const double span = *frames.back().timeS - *frames.front().timeS;
        if (span > 0 && std::isfinite(span))
            return span / static_cast<double>(frames.size() - 1);
    }
    return kDefaultPeriodS;
}

std::vector<int> sensorsOf(const RecordedMotion& motion)
{
    std::map<int, bool> seen;
    for (const auto& frame : motion.frames)
        for (const auto& entry : frame.sensors)
            seen[entry.first] = true;
    std::vector<int> sensors;
    for (const auto& entry : seen)
        sensors.push_back(entry.first);
    return sensors;
}

ReplayTrack trackOf(const RecordedMotion& motion, int sensor, bool loop)
{
    ReplayTrack track;
    track.framePeriodS = framePeriodOf(motion);
    track.loop = loop;
    std::optional<Pose> last;
    std::size_t missingAtStart = 0;
    for (const auto& frame : motion.frames) {
        const auto found = frame.sensors.find(sensor);
        if (found != frame.sensors.end())
            last = poseOf(found->second);
        if (last)
            track.poses.push_back(*last);
        else
            ++missingAtStart;
    }
    if (last)
        track.poses.insert(track.poses.begin(), missingAtStart, track.poses.front());
    return track;
}

} // namespace vorn::sim
