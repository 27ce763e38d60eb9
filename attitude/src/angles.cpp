#include "vorn/attitude/angles.h"

#include "vorn/attitude/units.h"

#include <algorithm>
#include <cmath>

namespace vorn::attitude {

Matrix3 matrixOfAngles(const Angles& degrees)
{
    const double a = degrees.azimuth * kRadiansPerDegree;
    const double e = degrees.elevation * kRadiansPerDegree;
    const double r = degrees.roll * kRadiansPerDegree;
    const double ca = std::cos(a), sa = std::sin(a);
    const double ce = std::cos(e), se = std::sin(e);
    const double cr = std::cos(r), sr = std::sin(r);
    return {{{ce * ca, ce * sa, -se},
             {se * ca * sr - cr * sa, se * sa * sr + cr * ca, sr * ce},
             {se * ca * cr + sr * sa, se * sa * cr - sr * ca, cr * ce}}};
}

Angles anglesOfMatrix(const Matrix3& m, const Angles& previous)
{
    Angles angles = previous;
    // Clamped: a matrix of 16-bit fractions may put |m13| a little above 1.
    angles.elevation = std::asin(std::clamp(-m[0][2], -1.0, 1.0)) / kRadiansPerDegree;
    if (m[0][0] == 0 && m[0][1] == 0 && m[1][2] == 0 && m[2][2] == 0) {
        return angles;
    }
    angles.azimuth = std::atan2(m[0][1], m[0][0]) / kRadiansPerDegree;
    angles.roll = std::atan2(m[1][2], m[2][2]) / kRadiansPerDegree;
    return angles;
}

} // namespace vorn::attitude
