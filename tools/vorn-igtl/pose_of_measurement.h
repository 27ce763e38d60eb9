// A unit's measurement as a pose: inches become millimetres, and whatever
// orientation the data format carries (matrix, angles or quaternion) becomes
// the rotation from sensor into tracker coordinates.
#pragma once

#include "measurement.h"
#include "sensor_pose.h"
#include "vorn/attitude/angles.h"

namespace vornigtl {

using vorn::attitude::Matrix3;
using vorn::attitude::matrixOfAngles;

SensorPose poseOf(const vornctl::Measurement& measurement);

} // namespace vornigtl
