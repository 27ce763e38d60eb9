// Averages samplesPerPoint frames into one data point: the means of position
// and matrix, the circular mean of each angle (so 179° and -179° average to
// 180°, not 0°), the mean of the quaternions after turning each to the sign
// of the point's first one (q and -q are the same rotation), the last
// non-zero button, the largest distortion value and the content byte of the
// last frame.
#pragma once

#include "core/sample_frame.h"
#include "vorn/attitude/circular_mean.h"

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
    void addAngles(int unit, const SensorRecord& in, SensorRecord& out);
    void addQuaternion(int unit, const SensorRecord& in, SensorRecord& out);

    SampleFrame sum_;
    std::array<std::array<vorn::attitude::CircularMean, 3>, VORN_UNIT_COUNT> angleMeans_ {};
    // Each unit's first quaternion of the point: the sign the others follow.
    std::array<std::array<double, 4>, VORN_UNIT_COUNT> reference_ {};
    double weight_ = 1.0;
    int added_ = 0;
    bool positionMatrixOnly_ = false;
};

} // namespace vornscope
