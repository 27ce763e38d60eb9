// The forms in which a unit reports a sensor's orientation, and the vectors they act on.
#pragma once

#include <array>

namespace vorn::attitude {

using Vector3 = std::array<double, 3>;
// [row][column]. A unit's matrix maps tracker into sensor coordinates: its rows are the sensor's
// x, y and z axes in tracker coordinates.
using Matrix3 = std::array<std::array<double, 3>, 3>;
// Scalar part first, as the units send it.
using Quaternion = std::array<double, 4>;

// Azimuth, elevation, roll in degrees.
struct Angles {
    double azimuth = 0.0;
    double elevation = 0.0;
    double roll = 0.0;
};

inline constexpr Matrix3 kIdentity {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

} // namespace vorn::attitude
