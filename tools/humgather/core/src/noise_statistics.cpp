#include "vorn/humgather/noise_statistics.h"

#include <algorithm>
#include <cmath>

namespace vorn::humgather {

void StatisticsAccumulator::add(double value)
{
    maximum_ = std::max(maximum_, value);
    minimum_ = std::min(minimum_, value);
    sum_ += value;
    sumOfSquares_ += value * value;
    ++count_;
}

Statistics StatisticsAccumulator::result() const
{
    if (count_ == 0)
        return {};
    Statistics s;
    const double n = static_cast<double>(count_);
    s.mean = sum_ / n;
    // The absolute value guards against a difference a rounding error makes slightly negative.
    s.standardDeviation = std::sqrt(std::fabs(sumOfSquares_ / n - s.mean * s.mean));
    s.maximum = maximum_;
    s.minimum = minimum_;
    s.peakToPeak = std::fabs(maximum_ - minimum_);
    return s;
}

Statistics statisticsOf(std::span<const float> values)
{
    StatisticsAccumulator accumulator;
    for (float v : values)
        accumulator.add(v);
    return accumulator.result();
}

} // namespace vorn::humgather
