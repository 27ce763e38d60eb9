#include "vorn/humsift/ranking.h"

#include <algorithm>

namespace vorn::humsift {

void averageNeighbours(std::span<RateResult> results, int halfWidth)
{
    if (results.empty())
        return;
    const std::size_t n = results.size();
    const std::size_t half = halfWidth > 0 ? static_cast<std::size_t>(halfWidth) : 0;
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t j = 0; j < n; ++j)
        prefix[j + 1] = prefix[j] + results[j].figure;
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t from = j > half ? j - half : 0;
        const std::size_t to = std::min(n - 1, j + std::min(half, n));
        results[j].averaged = (prefix[to + 1] - prefix[from]) / static_cast<double>(to - from + 1);
    }
}

std::vector<RateResult> rankRates(std::vector<RateResult> results, int halfWidth)
{
    averageNeighbours(results, halfWidth);
    std::stable_sort(results.begin(), results.end(),
                     [](const RateResult& a, const RateResult& b) { return a.averaged < b.averaged; });
    return results;
}

} // namespace vorn::humsift
