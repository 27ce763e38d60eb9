#include "model/trajectory.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace vorn::sim {

namespace {

constexpr double kWalkStepSeconds = 0.01;

struct Named {
    TrajectoryKind kind;
    std::string_view name;
};

constexpr std::array kNames = {
    Named {TrajectoryKind::Still, "still"},
    Named {TrajectoryKind::Circle, "circle"},
    Named {TrajectoryKind::FigureEight, "figure-eight"},
    Named {TrajectoryKind::RandomWalk, "random-walk"},
};

// Heading in degrees of a velocity in the x-y plane, 0 when standing.
double headingOf(double dx, double dy)
{
    if (dx == 0.0 && dy == 0.0) {
        return 0.0;
    }
    return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
}

} // namespace

std::optional<TrajectoryKind> trajectoryKindOfName(std::string_view name)
{
    for (const auto& entry : kNames) {
        if (entry.name == name) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

std::string_view trajectoryName(TrajectoryKind kind)
{
    for (const auto& entry : kNames) {
        if (entry.kind == kind) {
            return entry.name;
        }
    }
    return "still";
}

Trajectory::Trajectory(const TrajectoryConfig& config, uint64_t seed)
    : config_(config), random_(seed), walkPosition_(config.center)
{
}

Pose Trajectory::poseAt(double seconds)
{
    const double phase = 2.0 * std::numbers::pi * seconds / std::max(config_.periodSeconds, 0.001);
    const Vector3& c = config_.center;
    Angles angles = config_.angles;
    Pose pose;
    switch (config_.kind) {
    case TrajectoryKind::Still: pose.position = c; break;
    case TrajectoryKind::Circle:
        pose.position = {c[0] + config_.radius * std::cos(phase), c[1] + config_.radius * std::sin(phase), c[2]};
        angles.azimuth += headingOf(-std::sin(phase), std::cos(phase));
        angles.elevation += 10.0 * std::sin(phase);
        break;
    case TrajectoryKind::FigureEight:
        pose.position = {c[0] + config_.radius * std::sin(phase), c[1] + config_.radius * std::sin(2 * phase) / 2,
                         c[2] + 0.5 * config_.radius * std::sin(phase)};
        angles.azimuth += headingOf(std::cos(phase), std::cos(2 * phase));
        angles.roll += 20.0 * std::sin(2 * phase);
        break;
    case TrajectoryKind::RandomWalk: return walkTo(seconds);
    }
    pose.orientation = matrixOfAngles(angles);
    return pose;
}

Pose Trajectory::walkTo(double seconds)
{
    std::normal_distribution<double> step(0.0, config_.walkStepInches);
    // Bounded: more than a day of steps at once is not worth simulating.
    const double target = std::min(seconds, walkTime_ + 86400.0);
    while (walkTime_ + kWalkStepSeconds <= target) {
        for (int i = 0; i < 3; ++i) {
            const double next = walkPosition_[i] + step(random_);
            // Reflect at the bound so the sensor stays near its centre.
            const double offset = next - config_.center[i];
            walkPosition_[i] = std::abs(offset) > config_.radius ? walkPosition_[i] - (next - walkPosition_[i]) : next;
        }
        walkTime_ += kWalkStepSeconds;
    }
    Pose pose;
    pose.position = walkPosition_;
    Angles angles = config_.angles;
    angles.azimuth += 15.0 * (walkPosition_[1] - config_.center[1]) / std::max(config_.radius, 0.001);
    pose.orientation = matrixOfAngles(angles);
    return pose;
}

} // namespace vorn::sim
