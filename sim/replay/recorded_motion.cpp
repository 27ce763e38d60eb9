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
        const double span = *frames.back().timeS - *frames.front().timeS;
        if (span > 0)
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

Matrix3 matrixOfQuaternion(const Quaternion& raw)
{
    const double norm = std::sqrt(raw[0] * raw[0] + raw[1] * raw[1] + raw[2] * raw[2] + raw[3] * raw[3]);
    if (norm == 0.0)
        return Pose {}.orientation;
    const double w = raw[0] / norm, x = raw[1] / norm, y = raw[2] / norm, z = raw[3] / norm;
    // The transpose of the usual rotation of (w, x, y, z): the units' rows are the sensor's axes.
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)},
             {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)},
             {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)}}};
}

} // namespace vorn::sim
