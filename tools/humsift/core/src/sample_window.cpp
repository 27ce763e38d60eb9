#include "vorn/humsift/sample_window.h"

#include <cmath>

namespace vorn::humsift {

void removeMean(std::span<double> samples)
{
    if (samples.empty())
        return;
    double sum = 0.0;
    for (double s : samples)
        sum += s;
    const double mean = sum / static_cast<double>(samples.size());
    for (double& s : samples)
        s -= mean;
}

void applyHannWindow(std::span<double> samples)
{
    if (samples.size() < 2)
        return; // a single sample has no window to speak of
    constexpr double kPi = 3.14159265;
    const double span = static_cast<double>(samples.size() - 1);
    const double h = std::nearbyint(span / 2.0);
    const double step = 2.0 * kPi / span;
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] *= 0.5 + 0.5 * std::cos((h + static_cast<double>(i)) * step);
}

} // namespace vorn::humsift
