#include <gtest/gtest.h>

#include "vorn/humsift/ranking.h"

namespace vorn::humsift {
namespace {

std::vector<RateResult> withFigures(std::vector<double> figures)
{
    std::vector<RateResult> results;
    for (std::size_t j = 0; j < figures.size(); ++j)
        results.push_back({100.0 + double(j), figures[j], 0, 0.0});
    return results;
}

std::vector<double> averagedOf(std::vector<double> figures, int halfWidth)
{
    auto results = withFigures(std::move(figures));
    averageNeighbours(results, halfWidth);
    std::vector<double> out;
    for (const auto& r : results)
        out.push_back(r.averaged);
    return out;
}

TEST(Ranking, AveragingWindowIsCutAtBothEnds)
{
    EXPECT_EQ(averagedOf({4, 1, 7, 10}, 0), (std::vector<double> {4, 1, 7, 10}));
    EXPECT_EQ(averagedOf({1, 2, 3, 10}, 1), (std::vector<double> {1.5, 2, 5, 6.5}));
    EXPECT_EQ(averagedOf({1, 2, 3, 10}, -3), (std::vector<double> {1, 2, 3, 10}));
    // A window wider than the scan averages everything everywhere.
    EXPECT_EQ(averagedOf({1, 2, 3, 10}, 50), (std::vector<double> {4, 4, 4, 4}));
    EXPECT_EQ(averagedOf({1, 2, 3, 10}, 2147483647), (std::vector<double> {4, 4, 4, 4}));
    EXPECT_TRUE(averagedOf({}, 3).empty());
}

TEST(Ranking, QuietestFirstAndTiesKeepScanOrder)
{
    const auto ranked = rankRates(withFigures({5, 3, 9, 3, 1}), 0);
    std::vector<double> rates;
    for (const auto& r : ranked)
        rates.push_back(r.rate);
    EXPECT_EQ(rates, (std::vector<double> {104, 101, 103, 100, 102}));
    EXPECT_EQ(ranked.front().averaged, 1.0);
}

} // namespace
} // namespace vorn::humsift
