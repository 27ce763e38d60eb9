// A sensor as the unit measures it: trajectory, measurement noise and metal distortion.
#pragma once

#include "model/replay_track.h"
#include "model/trajectory.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace vorn::sim {

// A piece of metal near the working volume: distortion grows as a sensor nears it.
struct MetalObject {
    Vector3 position {};
    double strength = 1.0; // distortion at one inch (0..127 scale), falling with distance cubed
};

struct SensorConfig {
    TrajectoryConfig trajectory;
    double positionNoiseInches = 0.01;
    double angleNoiseDegrees = 0.05;
    // Recorded motion instead of the trajectory, reported as recorded: no
    // noise is added, so that a replay reports what was recorded.
    std::shared_ptr<const ReplayTrack> replay;
};

struct Measurement {
    Pose pose;
    uint8_t distortion = 0; // 0..127
};

class SensorModel {
public:
    SensorModel(const SensorConfig& config, uint64_t seed);

    // The pose at `seconds` with noise added, and its distortion among `metal`.
    Measurement measure(double seconds, const std::vector<MetalObject>& metal);
    // A reset unit: a replay starts over with the next measurement.
    void restart() { replayStart_.reset(); }

private:
    Pose replayedPose(double seconds);

    SensorConfig config_;
    Trajectory trajectory_;
    std::mt19937_64 random_;
    std::optional<double> replayStart_;
};

// The default sensor of the unit at `address`: a circle of its own in front of the
// transmitter, so that units of one set never overlap and every field changes.
SensorConfig circlingSensor(uint8_t address);

// The seed of one unit's noise and walk, so units of one simulator differ yet repeat.
inline uint64_t unitSeed(uint64_t seed, uint8_t address)
{
    return seed + address * 7919u;
}

// Distortion 0..127 at a position among metal objects.
uint8_t distortionAt(const Vector3& position, const std::vector<MetalObject>& metal);

} // namespace vorn::sim
