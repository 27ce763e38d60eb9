#pragma once
// The pose of a second sensor relative to the first, for the two-sensor position display. The
// units' angle convention itself lives in vorn_attitude.
#include "vorn/attitude/angles.h"

namespace vorn::humgather {

using attitude::Angles;
using attitude::Matrix3;
using attitude::Vector3;

using attitude::anglesOfMatrix;
using attitude::matrixOfAngles;

struct RelativePose {
    double distance = 0;
    Vector3 position {}; // sensor 2 in the frame of sensor 1
    Angles angles;
};

RelativePose relativePose(const Vector3& position1, const Angles& angles1, const Vector3& position2,
                          const Angles& angles2);

} // namespace vorn::humgather
