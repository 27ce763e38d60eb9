#pragma once
// Averaging each rate's figure with its neighbours and ranking the rates, quietest first.
#include <span>
#include <vector>

#include "vorn/humsift/rate_scan.h"

namespace vorn::humsift {

// averaged of rate j = mean of the figures of rates j - N .. j + N, the window cut at the first and
// last rate scanned. A negative N counts as 0.
void averageNeighbours(std::span<RateResult> results, int halfWidth);

// Sorted by averaged figure, lowest first; rates with equal figures keep their scan order.
std::vector<RateResult> rankRates(std::vector<RateResult> results, int halfWidth);

} // namespace vorn::humsift
