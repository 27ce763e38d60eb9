#pragma once
// Spectra the tests build by hand or from a generated noise record.
#include <cmath>
#include <numbers>
#include <random>

#include "vorn/humsift/noise_spectrum.h"

namespace vorn::humsift::testing {

// Bins at k * spacing with the given amplitudes.
inline Spectrum handSpectrum(std::vector<double> amplitude, double spacing = 1.0)
{
    Spectrum s;
    for (std::size_t k = 0; k < amplitude.size(); ++k)
        s.frequency.push_back(spacing * double(k));
    s.unfiltered = amplitude;
    s.amplitude = std::move(amplitude);
    return s;
}

// The spectrum of a room: hum at 60 Hz and harmonics, a 75 Hz monitor and white noise.
inline Spectrum roomSpectrum(std::size_t n = 32768, double sampleFrequency = 3402.0)
{
    std::mt19937 random(3);
    std::normal_distribution<double> white(0.0, 0.004);
    std::vector<double> x(n);
    const double w = 2 * std::numbers::pi / sampleFrequency;
    for (std::size_t j = 0; j < n; ++j) {
        const double t = double(j);
        x[j] = 1.2 + 0.06 * std::sin(w * 60 * t) + 0.025 * std::sin(w * 180 * t) + 0.015 * std::sin(w * 75 * t) +
               white(random);
    }
    return computeSpectrum(x, sampleFrequency, Window::Hann);
}

} // namespace vorn::humsift::testing
