// The mean of angles on the circle (sums of sines and cosines), so that 179 and -179 degrees
// average to 180, not 0.
#pragma once

namespace vorn::attitude {

class CircularMean {
public:
    void add(double degrees);
    // The mean so far in [-180, 180]; a single angle comes back as itself, none as 0.
    double degrees() const;
    int count() const { return count_; }

private:
    double sine_ = 0;
    double cosine_ = 0;
    double first_ = 0;
    int count_ = 0;
};

} // namespace vorn::attitude
