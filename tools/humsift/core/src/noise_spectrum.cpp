#include "vorn/humsift/noise_spectrum.h"

#include <cmath>

#include "vorn/humsift/fft.h"

namespace vorn::humsift {

Spectrum computeSpectrum(std::span<double> samples, double sampleFrequency, Window window)
{
    removeMean(samples);
    if (window == Window::Hann)
        applyHannWindow(samples);
    const std::size_t n = samples.size();
    RealFft fft(n);
    std::vector<Complex> transformed(n / 2);
    fft.transform(samples, transformed);

    Spectrum spectrum;
    spectrum.frequency.resize(n / 2);
    spectrum.unfiltered.resize(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        spectrum.frequency[k] = sampleFrequency * static_cast<double>(k) / static_cast<double>(n);
        spectrum.unfiltered[k] = std::abs(transformed[k]);
    }
    spectrum.amplitude = spectrum.unfiltered;
    return spectrum;
}

void applyFilter(Spectrum& spectrum, std::span<const double> response)
{
    spectrum.amplitude.resize(spectrum.unfiltered.size());
    for (std::size_t k = 0; k < spectrum.unfiltered.size(); ++k)
        spectrum.amplitude[k] = spectrum.unfiltered[k] * (k < response.size() ? response[k] : 1.0);
}

} // namespace vorn::humsift
