// The measurement rate on its way into a unit's 16-bit word: the formulas
// divide by the rate and by the crystal speed, so bad values are refused.
#include "config/measurement_rate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vorn {
namespace {

TEST(MeasurementRate, RecentUnitsTakeRateTimes256Truncated)
{
    EXPECT_EQ(rate::wordForRate(103.3, 0x0343, 20), 26444);
    EXPECT_EQ(rate::wordForRate(255.99, 0x033F, 0), 65533);
    EXPECT_DOUBLE_EQ(rate::rateOfWord(26444), 103.296875);
}

TEST(MeasurementRate, EarlyUnitsTakeACountOfCrystalCycles)
{
    // (1e6 / 100 - 300) * 20 / 32 = 6062.5
    EXPECT_EQ(rate::wordForRate(100.0, 0x033E, 20), 6062);
    EXPECT_NEAR(*rate::rateOfCount(6062, 20), 100.0, 0.01);
}

TEST(MeasurementRate, RefusesWhatNoWordCanHold)
{
    const double bad[] = {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity(), 256.0, 1e9, 1e-4};
    for (double hz : bad)
        EXPECT_EQ(rate::wordForRate(hz, 0x0343, 20), std::nullopt) << hz;
    // Early units: a count below 0 (above 3333 Hz) or above 65535 (too slow).
    EXPECT_EQ(rate::wordForRate(4000.0, 0x033E, 20), std::nullopt);
    EXPECT_EQ(rate::wordForRate(1.0, 0x033E, 200), std::nullopt);
}

TEST(MeasurementRate, CrystalSpeedZeroNeverDivides)
{
    EXPECT_EQ(rate::wordForRate(100.0, 0x033E, 0), std::nullopt);
    EXPECT_EQ(rate::rateOfCount(6062, 0), std::nullopt);
}

} // namespace
} // namespace vorn
