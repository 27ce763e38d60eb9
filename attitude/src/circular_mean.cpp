#include "vorn/attitude/circular_mean.h"

#include "vorn/attitude/units.h"

#include <cmath>

namespace vorn::attitude {

void CircularMean::add(double degrees)
{
    if (count_ == 0) {
        first_ = degrees;
    }
    sine_ += std::sin(degrees * kRadiansPerDegree);
    cosine_ += std::cos(degrees * kRadiansPerDegree);
    ++count_;
}

double CircularMean::degrees() const
{
    if (count_ <= 1) {
        return first_;
    }
    return std::atan2(sine_, cosine_) / kRadiansPerDegree;
}

} // namespace vorn::attitude
