#include "core/frame_averager.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vornscope {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

template <std::size_t N>
void addScaled(std::array<double, N>& sum, const std::array<double, N>& value, double weight)
{
    for (std::size_t i = 0; i < N; ++i)
        sum[i] += value[i] * weight;
}

double dot(const std::array<double, 4>& a, const std::array<double, 4>& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
}

} // namespace

void FrameAverager::start(int samples, bool positionMatrixOnly)
{
    sum_.clear();
    angleSums_.fill(AngleSums{});
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
    AngleSums& sums = angleSums_[static_cast<std::size_t>(unit)];
    for (std::size_t k = 0; k < 3; ++k) {
        sums.sine[k] += std::sin(in.angles[k] * kRadiansPerDegree);
        sums.cosine[k] += std::cos(in.angles[k] * kRadiansPerDegree);
        // The mean so far; a single angle comes back as itself.
        out.angles[k] = added_ == 0 ? in.angles[k] : std::atan2(sums.sine[k], sums.cosine[k]) / kRadiansPerDegree;
    }
}

void FrameAverager::addQuaternion(int unit, const SensorRecord& in, SensorRecord& out)
{
    std::array<double, 4>& reference = reference_[static_cast<std::size_t>(unit)];
    if (added_ == 0)
        reference = in.quaternion;
    addScaled(out.quaternion, in.quaternion, dot(reference, in.quaternion) < 0 ? -weight_ : weight_);
}

} // namespace vornscope
