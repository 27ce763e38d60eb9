#pragma once
// Rotation matrices of azimuth, elevation and roll, the angles back out of a matrix, and the pose
// of a second sensor relative to the first.
#include <array>

namespace vorn::humgather {

using Matrix3 = std::array<std::array<double, 3>, 3>;  // [row][column]
using Vector3 = std::array<double, 3>;

struct Angles {
    double azimuth = 0;
    double elevation = 0;
    double roll = 0;
};

Matrix3 rotationMatrix(const Angles& degrees);
// Angles of a matrix in degrees. Where the matrix gives no azimuth and roll (elevation of exactly
// +-90 degrees), they keep the values passed in `previous`.
Angles anglesFromMatrix(const Matrix3& m, const Angles& previous);

struct RelativePose {
    double distance = 0;
    Vector3 position{};  // sensor 2 in the frame of sensor 1
    Angles angles;
};

RelativePose relativePose(const Vector3& position1, const Angles& angles1, const Vector3& position2,
                          const Angles& angles2);

}  // namespace vorn::humgather
