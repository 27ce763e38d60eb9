// Averages samplesPerPoint frames into one data point: the means of position,
// angles, matrix and quaternion, the last non-zero button, the largest
// distortion value and the content byte of the last frame.
#pragma once

#include "core/sample_frame.h"

namespace vornscope {

class FrameAverager {
public:
    // Starts a data point of `samples` frames (at least 1); `positionMatrixOnly`
    // averages only what the animate display draws.
    void start(int samples, bool positionMatrixOnly = false);
    void add(const SampleFrame& frame, int deviceCount);
    const SampleFrame& result() const { return sum_; }
    int added() const { return added_; }

private:
    SampleFrame sum_;
    double weight_ = 1.0;
    int added_ = 0;
    bool positionMatrixOnly_ = false;
};

} // namespace vornscope
