// Where a sensor is at a given time: still, on a circle, on a figure-eight, or wandering.
#pragma once

#include "model/pose.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

namespace vorn::sim {

enum class TrajectoryKind : uint8_t { Still, Circle, FigureEight, RandomWalk };

std::optional<TrajectoryKind> trajectoryKindOfName(std::string_view name);
std::string_view trajectoryName(TrajectoryKind kind);

struct TrajectoryConfig {
    TrajectoryKind kind = TrajectoryKind::Still;
    Vector3 center {12.0, 0.0, 4.0}; // inches, in front of the transmitter
    Angles angles {};                // orientation when still, and the base orientation
    double radius = 4.0;             // inches: circle radius, figure-eight half width, walk bound
    double periodSeconds = 8.0;      // one lap
    double walkStepInches = 0.05;    // random walk: spread per step of 10 ms
};

// Evaluates a trajectory at seconds since the simulator started. The moving paths turn
// the sensor to face along its way so that angles, matrix and quaternion all change.
class Trajectory {
public:
    Trajectory(const TrajectoryConfig& config, uint64_t seed);

    Pose poseAt(double seconds);

private:
    Pose walkTo(double seconds);

    TrajectoryConfig config_;
    std::mt19937_64 random_;
    Vector3 walkPosition_;
    double walkTime_ = 0.0;
};

} // namespace vorn::sim
