#include <gtest/gtest.h>

#include <cmath>

#include "test_spectra.h"
#include "vorn/humsift/folding.h"
#include "vorn/humsift/rate_evaluator.h"
#include "vorn/humsift/rate_scan.h"

namespace vorn::humsift {
namespace {

Spectrum binsOnly(std::size_t samples, double sampleFrequency)
{
    Spectrum s;
    for (std::size_t k = 0; k < samples / 2; ++k)
        s.frequency.push_back(sampleFrequency * double(k) / double(samples));
    s.unfiltered.assign(s.frequency.size(), 1.0);
    s.amplitude = s.unfiltered;
    return s;
}

TEST(ScanRange, TheFastBandVisits578BinFrequencies)
{
    const RangeChoice choice = scanRange(binsOnly(32768, 3402.0), 80.0, 140.0);
    ASSERT_TRUE(choice.range);
    EXPECT_EQ(choice.range->first, 771u);
    EXPECT_EQ(choice.range->last, 1348u);
    EXPECT_EQ(choice.range->count(), 578u);
    EXPECT_NEAR(3402.0 * 771 / 32768, 80.046, 1e-3);
    EXPECT_NEAR(3402.0 * 1348 / 32768, 139.950, 1e-3);
}

TEST(ScanRange, RefusesBandsThatCannotBeScanned)
{
    const Spectrum s = binsOnly(1024, 3402.0);
    const std::tuple<double, double, const char*> refused[] = {
        {0.0, 140.0, "above 0"},           {-5.0, 140.0, "above 0"},        {140.0, 80.0, "above the start"},
        {100.0, 100.0, "above the start"}, {5000.0, 6000.0, "No spectrum"},
    };
    for (const auto& [start, end, reason] : refused) {
        const RangeChoice choice = scanRange(s, start, end);
        EXPECT_FALSE(choice.range) << start << ".." << end;
        EXPECT_NE(choice.problem.find(reason), std::string::npos) << choice.problem;
    }
    EXPECT_FALSE(scanRange(Spectrum {}, 80, 140).range);
    // A band beyond the top bin ends at the top bin.
    const RangeChoice top = scanRange(s, 1000.0, 9000.0);
    ASSERT_TRUE(top.range);
    EXPECT_EQ(top.range->last, 511u);
}

TEST(RateScan, ARateOnANotchZeroIsMarkedNotRanked)
{
    const Spectrum s = testing::roomSpectrum(8192);
    EXPECT_EQ(figureAtRate(s, 60.0, {NotchOption::BothZeros, {60.0, 70.0}, false}), kBlownUpFigure);
    EXPECT_EQ(figureAtRate(s, 35.0, {NotchOption::BothZeros, {40.0, 70.0}, false}), kBlownUpFigure); // 70 = 2 x 35
    const double fine = figureAtRate(s, 103.3, {NotchOption::Mains60, {}, false});
    EXPECT_TRUE(std::isfinite(fine));
    EXPECT_GT(fine, 0.0);
    EXPECT_EQ(figureAtRate(testing::handSpectrum(std::vector<double>(64, 0.0)), 10.0, {}), kBlownUpFigure);
}

TEST(RateScan, TrialsSkipBlowUpsAndFindTheBestZeros)
{
    const Spectrum s = testing::roomSpectrum(8192);
    const RangeChoice range = scanRange(s, 79.0, 81.5); // includes rates at and near the 80 Hz trial zero
    ASSERT_TRUE(range.range);
    for (ScanKind kind : {ScanKind::TrackingZero, ScanKind::BothZeros}) {
        const auto results = scanRates(s, *range.range, kind, {});
        for (const RateResult& r : results) {
            // Brute force over the same trials, in the same order.
            RateEvaluator evaluator(s);
            evaluator.setRate(r.rate);
            double best = 99999.0;
            int bestZero = 0;
            for (int z1 = 20; z1 <= 80; z1 += 5) {
                for (int z2 = 20; z2 <= 80; z2 += 5) {
                    const double second = kind == ScanKind::TrackingZero ? flatSecondZero(r.rate, z1) : z2;
                    double figure = evaluator.figure(notchConstants(r.rate, {double(z1), second}));
                    if (!std::isfinite(figure) || figure == 0.0)
                        figure = kBlownUpTrial;
                    if (figure < best * (1 - 1e-12))
                        best = figure, bestZero = z1;
                    if (kind == ScanKind::TrackingZero)
                        break;
                }
            }
            EXPECT_NEAR(r.figure, best, 1e-9 * best) << r.rate;
            EXPECT_EQ(r.bestFirstZero, bestZero) << r.rate;
            EXPECT_TRUE(std::isfinite(r.figure));
            EXPECT_LT(r.figure, kBlownUpTrial);
        }
    }
}

TEST(RateScan, SplittingTheRatesOverWorkersChangesNothing)
{
    const Spectrum s = testing::roomSpectrum();
    const RangeChoice range = scanRange(s, 80.0, 140.0);
    ASSERT_TRUE(range.range);
    for (ScanKind kind : {ScanKind::CurrentNotch, ScanKind::BothZeros}) {
        const auto one = scanRates(s, *range.range, kind, {}, 1);
        const auto two = scanRates(s, *range.range, kind, {}, 2);
        ASSERT_EQ(one.size(), 578u);
        ASSERT_EQ(two.size(), 578u);
        for (std::size_t j = 0; j < one.size(); ++j) {
            EXPECT_EQ(one[j].rate, s.frequency[771 + j]);
            EXPECT_EQ(one[j].rate, two[j].rate);
            EXPECT_EQ(one[j].figure, two[j].figure);
            EXPECT_EQ(one[j].bestFirstZero, two[j].bestFirstZero);
        }
    }
}

TEST(RateScan, NotchOffFiguresAreTheFoldedPowerAlone)
{
    const Spectrum s = testing::roomSpectrum(4096);
    const RangeChoice range = scanRange(s, 90.0, 95.0);
    ASSERT_TRUE(range.range);
    NotchSetting off;
    off.off = true;
    const auto results = scanRates(s, *range.range, ScanKind::CurrentNotch, off);
    std::vector<double> power(s.binCount());
    for (std::size_t k = 0; k < power.size(); ++k)
        power[k] = s.unfiltered[k] * s.unfiltered[k];
    const std::vector<double> ones(s.binCount(), 1.0);
    for (const RateResult& r : results) {
        std::vector<double> folded(s.binCount());
        const Folding fold = foldPower(s.frequency, power, r.rate, folded);
        EXPECT_NEAR(r.figure, noiseFigure(folded, ones, fold.figureBins), 1e-9 * r.figure);
    }
    const auto tracking = scanRates(s, *range.range, ScanKind::TrackingZero, off);
    for (const RateResult& r : tracking)
        EXPECT_EQ(r.bestFirstZero, 20); // every trial ties: the first stays
}

} // namespace
} // namespace vorn::humsift
