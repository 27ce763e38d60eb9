#include "model/magnetic_environment.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace vorn::sim {

double MagneticEnvironment::steadyVolts(double seconds) const
{
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    double volts = dcVolts + humVolts * std::sin(kTwoPi * mainsHertz * seconds);
    for (std::size_t i = 0; i < harmonics.size(); ++i) {
        const double order = static_cast<double>(i + 2);
        // Odd phase offsets keep the harmonics from lining up into one tall spike.
        volts += humVolts * harmonics[i] * std::sin(kTwoPi * order * mainsHertz * seconds + order);
    }
    for (const Tone& tone : tones) {
        volts += tone.volts * std::sin(kTwoPi * tone.hertz * seconds);
    }
    return volts;
}

ReceiverSignal::ReceiverSignal(MagneticEnvironment environment, uint64_t seed)
    : environment_(std::move(environment)), random_(seed), noise_(0.0, 1.0)
{
}

double ReceiverSignal::volts(double seconds, double axisGain)
{
    return axisGain * environment_.steadyVolts(seconds) + environment_.noiseVolts * noise_(random_);
}

} // namespace vorn::sim
