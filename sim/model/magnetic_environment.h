// The magnetic surroundings a unit's receiver picks up when nothing is measured: a steady
// level, mains hum with its harmonics, other tones (a monitor's refresh, a motor) and white
// noise. The noise analysis looks for the measurement rates that fold the least of it in.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace vorn::sim {

struct Tone {
    double hertz = 0.0;
    double volts = 0.0; // amplitude at the receiver's X axis
};

struct MagneticEnvironment {
    double dcVolts = 1.0;                            // steady level at the X axis
    double mainsHertz = 60.0;                        // 50 or 60
    double humVolts = 0.05;                          // amplitude of the mains fundamental
    std::vector<double> harmonics {0.3, 0.15, 0.08}; // 2nd, 3rd, 4th... relative to the fundamental
    std::vector<Tone> tones {{75.0, 0.01}};          // e.g. a monitor's refresh
    double noiseVolts = 0.004;                       // standard deviation of white noise

    // Everything but the white noise, at the X axis, `seconds` into a recording.
    double steadyVolts(double seconds) const;
};

// The environment as one receiver axis sees it: the same field, scaled by how the axis
// lies in it, plus the axis's own white noise.
class ReceiverSignal {
public:
    ReceiverSignal(MagneticEnvironment environment, uint64_t seed);

    double volts(double seconds, double axisGain);

private:
    MagneticEnvironment environment_;
    std::mt19937_64 random_;
    std::normal_distribution<double> noise_;
};

} // namespace vorn::sim
