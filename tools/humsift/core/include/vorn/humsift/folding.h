#pragma once
// Folding the noise power at a measurement rate: everything above half the rate is aliased into
// the base band 0 .. rate / 2, alternately shifted and mirrored, as the unit's sampling does.
#include <cstddef>
#include <span>

namespace vorn::humsift {

struct Folding {
    std::size_t baseBins = 0;   // bins of the base band, 0 .. rate / 2
    std::size_t figureBins = 0; // bins that enter the noise figure (the last interval's length)
};

// Adds the power of every full interval above the base band into folded[0 .. baseBins - 1].
// Intervals are bounded by the first bin above each multiple of rate / 2; the partial interval at
// the top of the spectrum is never added, so every rate of a scan is folded the same way.
// `frequency` must rise; `folded` needs room for frequency.size() values; rate must be above 0.
Folding foldPower(std::span<const double> frequency, std::span<const double> power, double rate,
                  std::span<double> folded);

// sqrt(sum of folded[k] * response[k]^2 over k < figureBins); the folded values are powers.
double noiseFigure(std::span<const double> folded, std::span<const double> response, std::size_t figureBins);

} // namespace vorn::humsift
