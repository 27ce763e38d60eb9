// A sensor's pose as a tracking client wants it: millimetres and a rotation
// that takes sensor coordinates into tracker coordinates.
#pragma once

#include "vorn/attitude/types.h"

namespace vornigtl {

struct SensorPose {
    vorn::attitude::Matrix3 rotation = vorn::attitude::kIdentity; // [row][column]
    vorn::attitude::Vector3 positionMm {};
};

} // namespace vornigtl
