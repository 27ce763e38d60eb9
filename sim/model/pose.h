// A sensor's pose. Its orientation is the unit's matrix; the attitude maths of the units
// (angles, matrix, quaternion) lives in vorn_attitude and is named here for the model.
#pragma once

#include "vorn/attitude/angles.h"
#include "vorn/attitude/matrix.h"
#include "vorn/attitude/quaternion.h"

namespace vorn::sim {

using attitude::Angles;
using attitude::Matrix3;
using attitude::Quaternion;
using attitude::Vector3;

using attitude::anglesOfMatrix;
using attitude::matrixOfAngles;
using attitude::matrixOfQuaternion;
using attitude::multiply;
using attitude::quaternionOfMatrix;
using attitude::transpose;

struct Pose {
    Vector3 position {}; // inches
    Matrix3 orientation = attitude::kIdentity;
};

} // namespace vorn::sim
