// A unit's measurement as a pose: inches become millimetres, and whatever
// orientation the data format carries (matrix, angles or quaternion) becomes
// the rotation from sensor into tracker coordinates.
#pragma once

#include "measurement.h"
#include "sensor_pose.h"

namespace vornigtl {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// The unit's own matrix of azimuth, elevation and roll in degrees: its rows
// are the sensor's axes in tracker coordinates.
Matrix3 unitMatrixOfAngles(double azimuthDeg, double elevationDeg, double rollDeg);

// The unit's matrix of a quaternion with the scalar part first.
Matrix3 unitMatrixOfQuaternion(const std::array<double, 4>& q);

SensorPose poseOf(const vornctl::Measurement& measurement);

} // namespace vornigtl
