#include "vorn/humsift/folding.h"

#include <algorithm>
#include <cmath>

namespace vorn::humsift {

namespace {

class IntervalBounds {
public:
    IntervalBounds(std::span<const double> frequency, double foldFrequency)
        : frequency_(frequency), fold_(foldFrequency)
    {
    }
    // The first bin whose frequency exceeds i * rate / 2 (the bin count when none does).
    std::size_t operator()(std::size_t i) const
    {
        const double limit = static_cast<double>(i) * fold_;
        return static_cast<std::size_t>(std::upper_bound(frequency_.begin(), frequency_.end(), limit) -
                                        frequency_.begin());
    }

private:
    std::span<const double> frequency_;
    double fold_;
};

} // namespace

Folding foldPower(std::span<const double> frequency, std::span<const double> power, double rate,
                  std::span<double> folded)
{
    Folding result;
    const std::size_t bins = std::min({frequency.size(), power.size(), folded.size()});
    if (bins == 0 || !(rate > 0.0))
        return result;
    frequency = frequency.first(bins);
    const double fold = rate / 2.0;
    const IntervalBounds bound(frequency, fold);
    const double intervals = std::floor(frequency[bins - 1] / fold);
    const auto total = static_cast<std::size_t>(std::min(intervals, static_cast<double>(bins) + 1.0));

    result.baseBins = bound(1);
    result.figureBins = result.baseBins;
    std::copy_n(power.begin(), result.baseBins, folded.begin());

    // Shifted intervals 2, 4, ...: the power lands in the same order.
    for (std::size_t i = 2; i + 1 <= total; i += 2) {
        const std::size_t a = bound(i);
        const std::size_t b = bound(i + 1);
        const std::size_t length = std::min(b > a ? b - a : 0, result.baseBins);
        for (std::size_t k = 0; k < length && a + k < bins; ++k)
            folded[k] += power[a + k];
        result.figureBins = length;
    }
    // Mirrored intervals 1, 3, ...: the power lands in reverse order.
    for (std::size_t i = 1; i + 1 <= total; i += 2) {
        const std::size_t a = bound(i);
        const std::size_t next = bound(i + 1);
        if (next == 0)
            continue;
        const std::size_t b = next - 1;
        const std::size_t length = std::min(b > a ? b - a : 0, result.baseBins);
        for (std::size_t k = 0; k < length; ++k)
            folded[k] += power[b - k];
        result.figureBins = length;
    }
    return result;
}

double noiseFigure(std::span<const double> folded, std::span<const double> response, std::size_t figureBins)
{
    const std::size_t n = std::min({figureBins, folded.size(), response.size()});
    double sum = 0.0;
    for (std::size_t k = 0; k < n; ++k)
        sum += folded[k] * response[k] * response[k];
    return std::sqrt(sum);
}

} // namespace vorn::humsift
