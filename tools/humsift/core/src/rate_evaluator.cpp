#include "vorn/humsift/rate_evaluator.h"

#include <algorithm>
#include <cmath>

namespace vorn::humsift {

RateEvaluator::RateEvaluator(const Spectrum& spectrum)
    : frequency_(spectrum.frequency), power_(spectrum.unfiltered.size()), folded_(spectrum.unfiltered.size())
{
    std::transform(spectrum.unfiltered.begin(), spectrum.unfiltered.end(), power_.begin(),
                   [](double a) { return a * a; });
}

void RateEvaluator::setRate(double rate)
{
    rate_ = rate;
    folding_ = foldPower(frequency_, power_, rate, folded_);
    moments_.fill(0.0);
    totalPower_ = 0.0;
    const double step = responseThetaStep(frequency_.empty() ? 0.0 : frequency_.back(), frequency_.size(), rate);
    for (std::size_t k = 0; k < folding_.figureBins; ++k) {
        const double c = std::cos(static_cast<double>(k) * step);
        double term = folded_[k] * (1.0 + c);
        for (double& moment : moments_) {
            moment += term;
            term *= c;
        }
        totalPower_ += folded_[k];
    }
}

double RateEvaluator::figure(const NotchConstants& constants) const
{
    const auto [a, b, d] = responsePolynomial(constants);
    // (a c^2 + b c + d)^2 = a^2 c^4 + 2ab c^3 + (b^2 + 2ad) c^2 + 2bd c + d^2
    const double sum = d * d * moments_[0] + 2.0 * b * d * moments_[1] + (b * b + 2.0 * a * d) * moments_[2] +
                       2.0 * a * b * moments_[3] + a * a * moments_[4];
    // Rounding can leave a tiny negative where the true sum is zero.
    return std::sqrt(std::max(2.0 * sum, 0.0));
}

double RateEvaluator::figureWithoutNotch() const
{
    return std::sqrt(totalPower_);
}

} // namespace vorn::humsift
