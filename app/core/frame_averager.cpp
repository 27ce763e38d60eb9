#include "core/frame_averager.h"

#include "vorn/attitude/quaternion.h"

#include <algorithm>

namespace vornscope {
namespace {

template <std::size_t N> void addScaled(std::array<double, N>& sum, const std::array<double, N>& value, double weight)
{
    for (std::size_t i = 0; i < N; ++i)
        sum[i] += value[i] * weight;
}

} // namespace

void FrameAverager::start(int samples, bool positionMatrixOnly)
{
    sum_.clear();
    angleMeans_.fill({});
    weight_ = 1.0 / std::max(samples, 1);
    added_ = 0;
    positionMatrixOnly_ = positionMatrixOnly;
}

void FrameAverager::add(const SampleFrame& frame, int deviceCount)
{
    const int last = std::min(deviceCount, VORN_UNIT_COUNT - 1);
    for (int unit = 1; unit <= last; ++unit) {
        const SensorRecord& in = frame.sensors[unit];
        SensorRecord& out = sum_.sensors[unit];
        addScaled(out.position, in.position, weight_);
        addScaled(out.matrix, in.matrix, weight_);
        if (!positionMatrixOnly_) {
            addAngles(unit, in, out);
            addQuaternion(unit, in, out);
            if (in.button != 0)
                out.button = in.button;
            out.distortion = std::max(out.distortion, in.distortion);
        }
        out.content = in.content;
    }
    sum_.time = frame.time;
    ++added_;
}

void FrameAverager::addAngles(int unit, const SensorRecord& in, SensorRecord& out)
{
    auto& means = angleMeans_[static_cast<std::size_t>(unit)];
    for (std::size_t k = 0; k < 3; ++k) {
        means[k].add(in.angles[k]);
        out.angles[k] = means[k].degrees();
    }
}

void FrameAverager::addQuaternion(int unit, const SensorRecord& in, SensorRecord& out)
{
    std::array<double, 4>& reference = reference_[static_cast<std::size_t>(unit)];
    if (added_ == 0)
        reference = in.quaternion;
    addScaled(out.quaternion, vorn::attitude::turnedLike(reference, in.quaternion), weight_);
}

} // namespace vornscope
