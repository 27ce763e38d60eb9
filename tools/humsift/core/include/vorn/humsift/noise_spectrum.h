#pragma once
// The amplitude spectrum of the recorded noise: one bin per frequency k * fs / N, k < N / 2.
#include <cstddef>
#include <span>
#include <vector>

#include "vorn/humsift/sample_window.h"

namespace vorn::humsift {

struct Spectrum {
    std::vector<double> frequency;  // f[k], rising
    std::vector<double> unfiltered; // A[k] as computed or read
    std::vector<double> amplitude;  // the working copy, A[k] times the filter response

    std::size_t binCount() const { return frequency.size(); }
    bool empty() const { return frequency.size() < 2; }
    double binSpacing() const { return frequency.size() > 1 ? frequency[1] : 0.0; }
    double lastFrequency() const { return frequency.empty() ? 0.0 : frequency.back(); }
};

// Removes the mean of `samples`, applies the window and transforms; samples.size() must be a
// power of two, at least 2. The samples are changed in place.
Spectrum computeSpectrum(std::span<double> samples, double sampleFrequency, Window window);

// Working copy = unfiltered amplitude times the response, bin by bin.
void applyFilter(Spectrum& spectrum, std::span<const double> response);

} // namespace vorn::humsift
