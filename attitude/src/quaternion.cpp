#include "vorn/attitude/quaternion.h"

#include <cmath>

namespace vorn::attitude {

namespace {

Quaternion negated(const Quaternion& q)
{
    return {-q[0], -q[1], -q[2], -q[3]};
}

} // namespace

Quaternion quaternionOfMatrix(const Matrix3& m)
{
    // Shepperd's method: pick the largest diagonal term to stay well conditioned.
    const double trace = m[0][0] + m[1][1] + m[2][2];
    Quaternion q {};
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
    return q[0] < 0 ? negated(q) : q;
}

Matrix3 matrixOfQuaternion(const Quaternion& q)
{
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (norm == 0.0) {
        return kIdentity;
    }
    const double w = q[0] / norm, x = q[1] / norm, y = q[2] / norm, z = q[3] / norm;
    // The transpose of the usual rotation of (w, x, y, z): the unit's matrix maps tracker into
    // sensor coordinates.
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)},
             {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)},
             {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)}}};
}

Quaternion turnedLike(const Quaternion& reference, const Quaternion& q)
{
    const double dot = reference[0] * q[0] + reference[1] * q[1] + reference[2] * q[2] + reference[3] * q[3];
    return dot < 0 ? negated(q) : q;
}

} // namespace vorn::attitude
