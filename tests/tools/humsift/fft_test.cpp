#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "vorn/humsift/fft.h"

namespace vorn::humsift {
namespace {

std::vector<Complex> directDft(const std::vector<double>& x, std::size_t bins)
{
    std::vector<Complex> out(bins);
    const double n = static_cast<double>(x.size());
    for (std::size_t k = 0; k < bins; ++k)
        for (std::size_t j = 0; j < x.size(); ++j)
            out[k] += x[j] * std::polar(1.0, -2.0 * std::numbers::pi * double(k) * double(j) / n);
    return out;
}

TEST(RealFft, MatchesTheDirectTransformOnSmallSizes)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    for (std::size_t n : {2u, 4u, 8u, 16u, 64u, 256u}) {
        std::vector<double> x(n);
        for (double& v : x)
            v = value(random);
        RealFft fft(n);
        std::vector<Complex> fast(n / 2);
        fft.transform(x, fast);
        const auto slow = directDft(x, n / 2);
        for (std::size_t k = 0; k < n / 2; ++k) {
            EXPECT_NEAR(fast[k].real(), slow[k].real(), 1e-9 * double(n)) << "n=" << n << " k=" << k;
            EXPECT_NEAR(fast[k].imag(), slow[k].imag(), 1e-9 * double(n)) << "n=" << n << " k=" << k;
        }
    }
}

TEST(RealFft, FindsAKnownToneAt32768Samples)
{
    constexpr std::size_t n = 32768;
    constexpr std::size_t toneBin = 578; // 60.0083 Hz at 3402 Hz
    std::vector<double> x(n);
    for (std::size_t j = 0; j < n; ++j)
        x[j] = 0.75 * std::cos(2.0 * std::numbers::pi * double(toneBin * j) / double(n) + 0.3);
    RealFft fft(n);
    std::vector<Complex> spectrum(n / 2);
    fft.transform(x, spectrum);
    EXPECT_NEAR(std::abs(spectrum[toneBin]), 0.75 * n / 2, 1e-6);
    EXPECT_NEAR(std::arg(spectrum[toneBin]), 0.3, 1e-9);
    double leak = 0.0;
    for (std::size_t k = 0; k < n / 2; ++k)
        if (k != toneBin)
            leak = std::max(leak, std::abs(spectrum[k]));
    EXPECT_LT(leak, 1e-6);
}

TEST(RealFft, RefusesSizesThatAreNotPowersOfTwo)
{
    EXPECT_THROW(RealFft(12), std::invalid_argument);
    EXPECT_THROW(RealFft(1), std::invalid_argument);
    EXPECT_THROW(ComplexFft(6), std::invalid_argument);
    RealFft fft(8);
    std::vector<double> tooShort(4);
    std::vector<Complex> out(4);
    EXPECT_THROW(fft.transform(tooShort, out), std::invalid_argument);
}

} // namespace
} // namespace vorn::humsift
