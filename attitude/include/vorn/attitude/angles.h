// The units' angle convention: azimuth, elevation and roll to the unit's matrix and back.
#pragma once

#include "vorn/attitude/types.h"

namespace vorn::attitude {

// Rows are the sensor's axes: row 1 is (cos E cos A, cos E sin A, -sin E), row 2
// (sin E cos A sin R - cos R sin A, sin E sin A sin R + cos R cos A, sin R cos E), row 3
// (sin E cos A cos R + sin R sin A, sin E sin A cos R - sin R cos A, cos R cos E).
Matrix3 matrixOfAngles(const Angles& degrees);

// The inverse of matrixOfAngles: elevation in [-90, 90] from -m13, azimuth and roll in
// [-180, 180] from the two-argument arc tangent. At +-90 degrees elevation the matrix holds
// only a difference of azimuth and roll; where it holds neither (m11, m12, m23 and m33 all zero)
// both keep the values of `previous`.
Angles anglesOfMatrix(const Matrix3& m, const Angles& previous = {});

} // namespace vorn::attitude
