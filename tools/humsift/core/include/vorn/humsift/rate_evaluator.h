#pragma once
// The noise figure of one measurement rate under many notch settings. Folding and the cosines of
// the base band depend on the rate alone; the filter enters only through its three constants, and
// the squared response is a polynomial of degree five in the cosine. So the rate's folded power is
// reduced once to five moments, sum P[k] c[k]^j (1 + c[k]), and every notch setting tried at that
// rate costs a handful of multiplications instead of a pass over the bins.
#include <array>
#include <span>
#include <vector>

#include "vorn/humsift/folding.h"
#include "vorn/humsift/noise_spectrum.h"
#include "vorn/humsift/notch_filter.h"

namespace vorn::humsift {

class RateEvaluator {
public:
    explicit RateEvaluator(const Spectrum& spectrum);

    void setRate(double rate); // folds and takes the moments; rate above 0
    double rate() const { return rate_; }
    const Folding& folding() const { return folding_; }
    std::span<const double> foldedPower() const { return {folded_.data(), folding_.baseBins}; }

    double figure(const NotchConstants& constants) const;
    double figureWithoutNotch() const;

private:
    std::span<const double> frequency_;
    std::vector<double> power_;
    std::vector<double> folded_;
    double rate_ = 0.0;
    Folding folding_;
    std::array<double, 5> moments_ {};
    double totalPower_ = 0.0;
};

} // namespace vorn::humsift
