#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "vorn/humsift/notch_filter.h"

namespace vorn::humsift {
namespace {

TEST(NotchConstants, HandWorkedZerosAtAQuarterAndAThirdOfTheRate)
{
    // c1 = cos(pi / 2) = 0, c2 = cos(2 pi / 3) = -0.5: D = 12, NOTCH1 = 1/12, NOTCH2 = 2/12,
    // NOTCH3 = 0.25, A0 = 36, B = 6, C = 1, F0 = 36 / 7.
    const NotchConstants k = notchConstants(120.0, {30.0, 40.0});
    EXPECT_NEAR(k.notch1, 1.0 / 12, 1e-12);
    EXPECT_NEAR(k.notch2, 2.0 / 12, 1e-12);
    EXPECT_NEAR(k.notch3, 0.25, 1e-12);
    EXPECT_NEAR(k.f0, 36.0 / 7, 1e-12);
}

TEST(NotchConstants, SymmetricInTheTwoZeros)
{
    const NotchConstants a = notchConstants(97.3, {35.0, 75.0});
    const NotchConstants b = notchConstants(97.3, {75.0, 35.0});
    EXPECT_DOUBLE_EQ(a.notch1, b.notch1);
    EXPECT_DOUBLE_EQ(a.notch2, b.notch2);
    EXPECT_DOUBLE_EQ(a.f0, b.f0);
}

TEST(NotchConstants, AZeroOnTheRateBlowsUp)
{
    const NotchConstants k = notchConstants(60.0, {60.0, 70.0});
    EXPECT_FALSE(std::isfinite(k.notch1));
}

TEST(NotchOptions, ZerosOfEachOption)
{
    const NotchZeros given {42.0, 47.0};
    const std::tuple<NotchOption, double, double> cases[] = {
        {NotchOption::Mains60, 60.0, 70.0},
        {NotchOption::Mains50, 50.0, 60.0},
        {NotchOption::BothZeros, 42.0, 47.0},
        {NotchOption::FirstZero, 42.0, (103.3 / 2 + 42.0) / 2},
    };
    for (const auto& [option, first, second] : cases) {
        const NotchZeros z = zerosForOption(option, given, 103.3);
        EXPECT_DOUBLE_EQ(z.first, first);
        EXPECT_DOUBLE_EQ(z.second, second);
    }
    EXPECT_NEAR(zerosForOption(NotchOption::FirstZero, {60.0, 0.0}, 103.3).second, 55.825, 1e-12);
}

TEST(FilterResponse, UnityAtDcZeroAtTheZerosAndOneAboveTheRate)
{
    const NotchConstants k = notchConstants(103.3, {60.0, 70.0});
    // The squared response factors as 2 (4 (c - c1)(c - c2) / D)^2 (1 + c): the zeros are exact.
    const auto [a, b, d] = responsePolynomial(k);
    for (double zero : {60.0, 70.0}) {
        const double c = std::cos(2 * std::numbers::pi * zero / 103.3);
        EXPECT_NEAR((a * c + b) * c + d, 0.0, 1e-12);
    }
    std::vector<double> f(2048);
    for (std::size_t i = 0; i < f.size(); ++i)
        f[i] = 0.1 * double(i);
    std::vector<double> h(f.size());
    filterResponse(k, false, 103.3, f, h);
    EXPECT_NEAR(h[0], 1.0, 1e-12);
    EXPECT_EQ(h[1034], 1.0); // 103.4 Hz lies above the rate
    // Bin k sits at theta = k 2 pi f_last / (bins rate): a little below 2 pi f / rate.
    const double theta60 = 600 * responseThetaStep(f.back(), f.size(), 103.3);
    EXPECT_NEAR(theta60, 2 * std::numbers::pi * 60.0 / 103.3 * 2047.0 / 2048.0, 1e-12);
    EXPECT_LT(h[600], 0.01);
    std::vector<double> off(f.size(), 7.0);
    filterResponse(k, true, 103.3, f, off);
    EXPECT_EQ(off, std::vector<double>(f.size(), 1.0));
}

} // namespace
} // namespace vorn::humsift
