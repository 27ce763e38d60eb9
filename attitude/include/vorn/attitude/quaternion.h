// The units' quaternion: scalar part first, and the same rotation as the unit's matrix.
#pragma once

#include "vorn/attitude/types.h"

namespace vorn::attitude {

// Unit quaternion of a rotation matrix, scalar part never negative.
Quaternion quaternionOfMatrix(const Matrix3& m);

// The unit's matrix of a quaternion, normalised first (the units' 16-bit fractions are slightly
// off unit length); the identity for a zero quaternion. The inverse of quaternionOfMatrix.
Matrix3 matrixOfQuaternion(const Quaternion& q);

// q or -q, whichever lies on the side of `reference`: both are the same rotation, and only
// quaternions of one sign can be averaged.
Quaternion turnedLike(const Quaternion& reference, const Quaternion& q);

} // namespace vorn::attitude
