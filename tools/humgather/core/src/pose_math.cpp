#include "vorn/humgather/pose_math.h"

#include "vorn/attitude/matrix.h"

#include <cmath>

namespace vorn::humgather {

namespace {

// The display's angles lie in (-180, 180]: a matrix element of -0 makes the two-argument arc
// tangent give -180 where the display has always shown 180.
double inDisplayRange(double degrees)
{
    return degrees == -180.0 ? 180.0 : degrees;
}

} // namespace

RelativePose relativePose(const Vector3& position1, const Angles& angles1, const Vector3& position2,
                          const Angles& angles2)
{
    RelativePose pose;
    const Vector3 d {position2[0] - position1[0], position2[1] - position1[1], position2[2] - position1[2]};
    pose.distance = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const Matrix3 m1 = matrixOfAngles(angles1);
    pose.position = attitude::multiply(m1, d);
    // Where the relative matrix gives no azimuth and roll, sensor 2's own stand in.
    pose.angles = anglesOfMatrix(attitude::multiply(matrixOfAngles(angles2), attitude::transpose(m1)), angles2);
    pose.angles.azimuth = inDisplayRange(pose.angles.azimuth);
    pose.angles.roll = inDisplayRange(pose.angles.roll);
    return pose;
}

} // namespace vorn::humgather
