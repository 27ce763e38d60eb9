#include "vorn/humgather/pose_math.h"

#include <cmath>
#include <numbers>

namespace vorn::humgather {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double sign(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

double arcSine(double x) { return std::fabs(x) >= 1 ? std::numbers::pi / 2 * sign(x) : std::asin(x); }

// arctan(y / x) moved into the half plane of x, in radians.
double arcTangent2(double y, double x) {
    double angle = std::atan(y / x);
    if (x < 0) angle += y >= 0 ? std::numbers::pi : -std::numbers::pi;
    return angle;
}

Matrix3 times(const Matrix3& a, const Matrix3& b) {
    Matrix3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

Matrix3 transposed(const Matrix3& m) {
    Matrix3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = m[j][i];
    return r;
}

}  // namespace

Matrix3 rotationMatrix(const Angles& degrees) {
    const double a = degrees.azimuth / kDegrees, e = degrees.elevation / kDegrees, r = degrees.roll / kDegrees;
    const double ca = std::cos(a), sa = std::sin(a), ce = std::cos(e), se = std::sin(e), cr = std::cos(r),
                 sr = std::sin(r);
    return {{{ce * ca, ce * sa, -se},
             {se * ca * sr - cr * sa, se * sa * sr + cr * ca, sr * ce},
             {se * ca * cr + sr * sa, se * sa * cr - sr * ca, cr * ce}}};
}

Angles anglesFromMatrix(const Matrix3& m, const Angles& previous) {
    Angles out = previous;
    const double m11 = m[0][0], m12 = m[0][1], m13 = m[0][2], m23 = m[1][2], m33 = m[2][2];
    const double c = std::sqrt(0.5 * (m23 * m23 + m33 * m33 + m11 * m11 + m12 * m12));
    out.elevation = (std::fabs(m13) <= 0.939 ? arcSine(-m13) : sign(-m13) * (std::numbers::pi / 2 - arcSine(c))) *
                    kDegrees;
    if (c == 0) return out;
    out.azimuth = (m11 != 0 ? arcTangent2(m12, m11) : arcSine(m12 / c)) * kDegrees;
    out.roll = (m33 != 0 ? arcTangent2(m23, m33) : arcSine(m23 / c)) * kDegrees;
    return out;
}

RelativePose relativePose(const Vector3& position1, const Angles& angles1, const Vector3& position2,
                          const Angles& angles2) {
    RelativePose pose;
    const Vector3 d{position2[0] - position1[0], position2[1] - position1[1], position2[2] - position1[2]};
    pose.distance = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const Matrix3 m1 = rotationMatrix(angles1);
    for (int i = 0; i < 3; ++i) pose.position[i] = m1[i][0] * d[0] + m1[i][1] * d[1] + m1[i][2] * d[2];
    pose.angles = anglesFromMatrix(times(rotationMatrix(angles2), transposed(m1)), angles2);
    return pose;
}

}  // namespace vorn::humgather
