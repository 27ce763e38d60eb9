#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "vorn/humsift/noise_file.h"
#include "vorn/humsift/noise_spectrum.h"
#include "vorn/humsift/sample_window.h"

namespace vorn::humsift {
namespace {

TEST(SampleWindow, HannWindowStartsFromTheMiddleOfTheCosine)
{
    // N = 8: h = round(3.5) = 4 (half to even), w[i] = 0.5 + 0.5 cos((4 + i) 2 pi / 7).
    std::vector<double> ones(8, 1.0);
    applyHannWindow(ones);
    constexpr double kPi = 3.14159265;
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(ones[i], 0.5 + 0.5 * std::cos((4 + i) * 2 * kPi / 7), 1e-14) << i;
    EXPECT_NEAR(ones[0], 0.0495, 1e-4); // near zero at both ends, one in the middle
    EXPECT_NEAR(ones[7], 0.0495, 1e-4);
    EXPECT_NEAR(ones[3], 1.0, 1e-9);
    // N = 6: h = round(2.5) = 2, not 3.
    std::vector<double> six(6, 1.0);
    applyHannWindow(six);
    EXPECT_NEAR(six[0], 0.5 + 0.5 * std::cos(2 * 2 * kPi / 5), 1e-14);
}

TEST(SampleWindow, MeanRemovalLeavesZeroMean)
{
    std::vector<double> x {1.0, 2.0, 3.0, 6.0};
    removeMean(x);
    EXPECT_EQ(x, (std::vector<double> {-2.0, -1.0, 0.0, 3.0}));
}

TEST(Spectrum, ThirtyTwoThousandSamplesGiveSixteenThousandBinsOfAboutATenthHertz)
{
    constexpr std::size_t n = 32768;
    std::vector<double> x(n);
    for (std::size_t j = 0; j < n; ++j)
        x[j] = 1.5 + std::sin(2.0 * std::numbers::pi * 1000.0 * double(j) / n);
    const Spectrum s = computeSpectrum(x, 3402.0, Window::None);
    ASSERT_EQ(s.binCount(), 16384u);
    EXPECT_NEAR(s.binSpacing(), 0.1038208, 1e-7);
    EXPECT_NEAR(s.lastFrequency(), 3402.0 * 16383 / 32768, 1e-9);
    EXPECT_NEAR(s.unfiltered[0], 0.0, 1e-6); // the mean is gone
    EXPECT_NEAR(s.unfiltered[1000], n / 2.0, 1e-6);
    EXPECT_EQ(s.amplitude, s.unfiltered);
}

TEST(Spectrum, HannWindowHalvesAToneAndKeepsItsBin)
{
    constexpr std::size_t n = 4096;
    std::vector<double> x(n);
    for (std::size_t j = 0; j < n; ++j)
        x[j] = std::cos(2.0 * std::numbers::pi * 300.0 * double(j) / n);
    const Spectrum s = computeSpectrum(x, 3097.0, Window::Hann);
    EXPECT_NEAR(s.unfiltered[300], n / 4.0, n * 1e-3);
    EXPECT_NEAR(s.unfiltered[299], n / 8.0, n * 1e-3);
    EXPECT_LT(s.unfiltered[290], 1.0);
}

TEST(Spectrum, FilterScalesTheWorkingCopyOnly)
{
    Spectrum s;
    s.frequency = {0, 1, 2};
    s.unfiltered = {2, 4, 6};
    applyFilter(s, std::vector<double> {1.0, 0.5, 0.0});
    EXPECT_EQ(s.amplitude, (std::vector<double> {2, 2, 0}));
    EXPECT_EQ(s.unfiltered, (std::vector<double> {2, 4, 6}));
}

TEST(NoiseFile, PowerOfTwoPrefix)
{
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 0}, {1, 1},         {3, 2},
                                                         {4, 4}, {32767, 16384}, {32768, 32768}};
    for (const auto& [count, expected] : cases)
        EXPECT_EQ(largestPowerOfTwoAtMost(count), expected) << count;
}

} // namespace
} // namespace vorn::humsift
