#include "model/sensor_model.h"

#include <algorithm>
#include <cmath>

namespace vorn::sim {

SensorModel::SensorModel(const SensorConfig& config, uint64_t seed)
    : config_(config), trajectory_(config.trajectory, seed), random_(seed ^ 0x9E3779B97F4A7C15ull)
{
}

Measurement SensorModel::measure(double seconds, const std::vector<MetalObject>& metal)
{
    Measurement m;
    if (config_.replay) {
        m.pose = replayedPose(seconds);
        m.distortion = distortionAt(m.pose.position, metal);
        return m;
    }
    m.pose = trajectory_.poseAt(seconds);
    std::normal_distribution<double> positionNoise(0.0, config_.positionNoiseInches);
    for (double& x : m.pose.position) {
        x += positionNoise(random_);
    }
    if (config_.angleNoiseDegrees > 0) {
        std::normal_distribution<double> angleNoise(0.0, config_.angleNoiseDegrees);
        const Angles jitter {angleNoise(random_), angleNoise(random_), angleNoise(random_)};
        m.pose.orientation = multiply(matrixOfAngles(jitter), m.pose.orientation);
    }
    m.distortion = distortionAt(m.pose.position, metal);
    return m;
}

Pose SensorModel::replayedPose(double seconds)
{
    if (!replayStart_)
        replayStart_ = seconds;
    return config_.replay->poseAt(seconds - *replayStart_);
}

SensorConfig circlingSensor(uint8_t address)
{
    SensorConfig sensor;
    sensor.trajectory.kind = TrajectoryKind::Circle;
    sensor.trajectory.center = {12.0 + 4.0 * address, -4.0 + 3.0 * address, 6.0};
    sensor.trajectory.periodSeconds = 6.0 + address;
    return sensor;
}

uint8_t distortionAt(const Vector3& position, const std::vector<MetalObject>& metal)
{
    double total = 0.0;
    for (const auto& object : metal) {
        double squared = 0.0;
        for (int i = 0; i < 3; ++i) {
            const double d = position[i] - object.position[i];
            squared += d * d;
        }
        const double distance = std::max(std::sqrt(squared), 1.0);
        total += object.strength / (distance * distance * distance);
    }
    return static_cast<uint8_t>(std::clamp(total, 0.0, 127.0));
}

} // namespace vorn::sim
