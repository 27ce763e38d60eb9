#include "pose_of_measurement.h"

#include <cmath>
#include <numbers>

namespace vornigtl {

namespace {

constexpr double kMillimetresPerInch = 25.4;

Matrix3 transposed(const Matrix3& m)
{
    Matrix3 t {};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            t[row][column] = m[column][row];
    return t;
}

} // namespace

Matrix3 unitMatrixOfAngles(double azimuthDeg, double elevationDeg, double rollDeg)
{
    constexpr double kRadians = std::numbers::pi / 180.0;
    const double ca = std::cos(azimuthDeg * kRadians), sa = std::sin(azimuthDeg * kRadians);
    const double ce = std::cos(elevationDeg * kRadians), se = std::sin(elevationDeg * kRadians);
    const double cr = std::cos(rollDeg * kRadians), sr = std::sin(rollDeg * kRadians);
    return {{{ce * ca, ce * sa, -se},
             {se * ca * sr - cr * sa, se * sa * sr + cr * ca, sr * ce},
             {se * ca * cr + sr * sa, se * sa * cr - sr * ca, cr * ce}}};
}

Matrix3 unitMatrixOfQuaternion(const std::array<double, 4>& q)
{
    // Normalised first: the unit's 16-bit fractions are slightly off unit length.
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (norm == 0)
        return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const double w = q[0] / norm, x = q[1] / norm, y = q[2] / norm, z = q[3] / norm;
    // The transpose of the usual rotation of (w, x, y, z), as the unit's
    // matrix maps tracker into sensor coordinates.
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)},
             {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)},
             {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)}}};
}

SensorPose poseOf(const vornctl::Measurement& measurement)
{
    SensorPose pose;
    if (measurement.hasPosition)
        for (int i = 0; i < 3; ++i)
            pose.positionMm[i] = measurement.positionIn[i] * kMillimetresPerInch;
    // The unit's matrix has the sensor's axes as rows; a client wants them as columns.
    if (measurement.hasMatrix) {
        Matrix3 m {};
        for (int i = 0; i < 9; ++i)
            m[i / 3][i % 3] = measurement.matrix[i];
        pose.rotation = transposed(m);
    } else if (measurement.hasAngles) {
        const auto& a = measurement.anglesDeg;
        pose.rotation = transposed(unitMatrixOfAngles(a[0], a[1], a[2]));
    } else if (measurement.hasQuaternion) {
        pose.rotation = transposed(unitMatrixOfQuaternion(measurement.quaternion));
    }
    return pose;
}

} // namespace vornigtl
