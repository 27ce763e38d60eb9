#pragma once
// Running statistics of a block of values: maximum, minimum, mean, population standard deviation
// and peak-to-peak, with the sums in double precision.
#include <span>

namespace vorn::humgather {

struct Statistics {
    double mean = 0;
    double maximum = 0;
    double minimum = 0;
    double standardDeviation = 0;
    double peakToPeak = 0;
};

class StatisticsAccumulator {
public:
    void add(double value);
    long count() const { return count_; }
    // An empty block gives all zeros rather than a division by zero.
    Statistics result() const;

private:
    double maximum_ = -99999;
    double minimum_ = 99999;
    double sum_ = 0;
    double sumOfSquares_ = 0;
    long count_ = 0;
};

Statistics statisticsOf(std::span<const float> values);

} // namespace vorn::humgather
