// A sensor's pose and the orientation forms a unit reports: angles, matrix, quaternion.
#pragma once

#include <array>

namespace vorn::sim {

using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<std::array<double, 3>, 3>;
using Quaternion = std::array<double, 4>; // scalar first

// Azimuth, elevation, roll in degrees.
struct Angles {
    double azimuth = 0.0;
    double elevation = 0.0;
    double roll = 0.0;
};

struct Pose {
    Vector3 position{};   // inches
    Matrix3 orientation{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
};

// Rows are the sensor's axes: row 1 (cos E cos A, cos E sin A, -sin E), and so on.
Matrix3 matrixOfAngles(const Angles& angles);

// The inverse of matrixOfAngles for elevations inside (-90, 90) degrees.
Angles anglesOfMatrix(const Matrix3& m);

// Unit quaternion of a rotation matrix, scalar part first and never negative.
Quaternion quaternionOfMatrix(const Matrix3& m);

Matrix3 multiply(const Matrix3& a, const Matrix3& b);
Matrix3 transpose(const Matrix3& m);
Vector3 multiply(const Matrix3& m, const Vector3& v);

} // namespace vorn::sim
