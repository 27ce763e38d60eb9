#include "model/pose.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorn::sim {

namespace {
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
} // namespace

Matrix3 matrixOfAngles(const Angles& angles)
{
    const double a = angles.azimuth * kRadiansPerDegree;
    const double e = angles.elevation * kRadiansPerDegree;
    const double r = angles.roll * kRadiansPerDegree;
    const double ca = std::cos(a), sa = std::sin(a);
    const double ce = std::cos(e), se = std::sin(e);
    const double cr = std::cos(r), sr = std::sin(r);
    return {{{ce * ca, ce * sa, -se},
             {se * ca * sr - cr * sa, se * sa * sr + cr * ca, sr * ce},
             {se * ca * cr + sr * sa, se * sa * cr - sr * ca, cr * ce}}};
}

Angles anglesOfMatrix(const Matrix3& m)
{
    Angles angles;
    angles.elevation = std::asin(std::clamp(-m[0][2], -1.0, 1.0)) / kRadiansPerDegree;
    angles.azimuth = std::atan2(m[0][1], m[0][0]) / kRadiansPerDegree;
    angles.roll = std::atan2(m[1][2], m[2][2]) / kRadiansPerDegree;
    return angles;
}

Quaternion quaternionOfMatrix(const Matrix3& m)
{
    // Shepperd's method: pick the largest diagonal term to stay well conditioned.
    const double trace = m[0][0] + m[1][1] + m[2][2];
    Quaternion q{};
    if (trace > 0) {
        const double s = std::sqrt(trace + 1.0) * 2;
        q = {0.25 * s, (m[1][2] - m[2][1]) / s, (m[2][0] - m[0][2]) / s, (m[0][1] - m[1][0]) / s};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]) * 2;
        q = {(m[1][2] - m[2][1]) / s, 0.25 * s, (m[0][1] + m[1][0]) / s, (m[2][0] + m[0][2]) / s};
    } else if (m[1][1] > m[2][2]) {
        const double s = std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]) * 2;
        q = {(m[2][0] - m[0][2]) / s, (m[0][1] + m[1][0]) / s, 0.25 * s, (m[1][2] + m[2][1]) / s};
    } else {
        const double s = std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]) * 2;
        q = {(m[0][1] - m[1][0]) / s, (m[2][0] + m[0][2]) / s, (m[1][2] + m[2][1]) / s, 0.25 * s};
    }
    if (q[0] < 0) {
        for (double& x : q) {
            x = -x;
        }
    }
    return q;
}

Matrix3 multiply(const Matrix3& a, const Matrix3& b)
{
    Matrix3 c{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                c[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return c;
}

Matrix3 transpose(const Matrix3& m)
{
    Matrix3 t{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            t[i][j] = m[j][i];
        }
    }
    return t;
}

Vector3 multiply(const Matrix3& m, const Vector3& v)
{
    Vector3 r{};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) {
            r[i] += m[i][k] * v[k];
        }
    }
    return r;
}

} // namespace vorn::sim
