#include <gtest/gtest.h>

#include <cmath>

#include "test_spectra.h"
#include "vorn/humsift/folding.h"
#include "vorn/humsift/notch_filter.h"
#include "vorn/humsift/rate_evaluator.h"

namespace vorn::humsift {
namespace {

std::vector<double> powersOfTwo(std::size_t n)
{
    std::vector<double> p(n);
    for (std::size_t k = 0; k < n; ++k)
        p[k] = std::ldexp(1.0, int(k));
    return p;
}

TEST(Folding, ShiftsAndMirrorsIntervalsOfAHandBuiltSpectrum)
{
    // Bins at 0..15 Hz, rate 8 Hz: rate/2 = 4, intervals start at bins 5, 9, 13; three intervals.
    // Base band bins 0..4; shifted interval 2 = bins 9..12; mirrored interval 1 = bins 8, 7, 6.
    const std::vector<double> f = testing::handSpectrum(std::vector<double>(16, 0.0)).frequency;
    const std::vector<double> p = powersOfTwo(16);
    std::vector<double> folded(16, -1.0);
    const Folding fold = foldPower(f, p, 8.0, folded);
    EXPECT_EQ(fold.baseBins, 5u);
    EXPECT_EQ(fold.figureBins, 3u);
    EXPECT_EQ(folded[0], p[0] + p[9] + p[8]);
    EXPECT_EQ(folded[1], p[1] + p[10] + p[7]);
    EXPECT_EQ(folded[2], p[2] + p[11] + p[6]);
    EXPECT_EQ(folded[3], p[3] + p[12]);
    EXPECT_EQ(folded[4], p[4]);
    const std::vector<double> ones(16, 1.0);
    EXPECT_DOUBLE_EQ(noiseFigure(folded, ones, fold.figureBins), std::sqrt(folded[0] + folded[1] + folded[2]));
}

TEST(Folding, PartialTopIntervalIsNeverAdded)
{
    // Bins 0..13, rate 8: f_last 13 gives three intervals; bins 13.. (above 12 Hz) stay out,
    // and the mirrored interval is the last one added.
    const std::vector<double> f = testing::handSpectrum(std::vector<double>(14, 0.0)).frequency;
    const std::vector<double> p = powersOfTwo(14);
    std::vector<double> folded(14, 0.0);
    const Folding fold = foldPower(f, p, 8.0, folded);
    double total = 0.0;
    for (std::size_t k = 0; k < fold.baseBins; ++k)
        total += folded[k];
    EXPECT_EQ(total, p[0] + p[1] + p[2] + p[3] + p[4] + p[6] + p[7] + p[8] + p[9] + p[10] + p[11] + p[12]);
    EXPECT_EQ(fold.figureBins, 3u);
}

TEST(Folding, RatesAboveTheSpectrumAndBadRatesStayInBounds)
{
    const std::vector<double> f = testing::handSpectrum(std::vector<double>(8, 0.0)).frequency;
    const std::vector<double> p(8, 1.0);
    std::vector<double> folded(8, 0.0);
    const Folding high = foldPower(f, p, 1000.0, folded);
    EXPECT_EQ(high.baseBins, 8u);
    EXPECT_EQ(high.figureBins, 8u);
    const Folding none = foldPower(f, p, 0.0, folded);
    EXPECT_EQ(none.baseBins, 0u);
    const Folding tiny = foldPower(f, p, 0.01, folded); // hundreds of intervals of under one bin
    EXPECT_LE(tiny.baseBins, 8u);
}

TEST(RateEvaluator, MomentsGiveTheFigureOfTheFilterResponse)
{
    const Spectrum s = testing::roomSpectrum(8192);
    RateEvaluator evaluator(s);
    std::vector<double> power(s.binCount());
    for (std::size_t k = 0; k < power.size(); ++k)
        power[k] = s.unfiltered[k] * s.unfiltered[k];
    for (double rate : {80.5, 103.3, 121.7, 139.9}) {
        evaluator.setRate(rate);
        std::vector<double> folded(s.binCount());
        const Folding fold = foldPower(s.frequency, power, rate, folded);
        for (NotchZeros zeros : {NotchZeros {60, 70}, NotchZeros {20, 80}, NotchZeros {45, 45}}) {
            const NotchConstants k = notchConstants(rate, zeros);
            std::vector<double> h(s.binCount());
            filterResponse(k, false, rate, s.frequency, h);
            const double direct = noiseFigure(folded, h, fold.figureBins);
            EXPECT_NEAR(evaluator.figure(k), direct, 1e-9 * direct) << rate << " " << zeros.first;
        }
        const std::vector<double> ones(s.binCount(), 1.0);
        EXPECT_NEAR(evaluator.figureWithoutNotch(), noiseFigure(folded, ones, fold.figureBins), 1e-9);
    }
}

} // namespace
} // namespace vorn::humsift
