// Unit conversions shared by everything that turns a unit's numbers into physical ones.
#pragma once

#include <numbers>

namespace vorn::attitude {

inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
inline constexpr double kMillimetresPerInch = 25.4;

constexpr double millimetresOfInches(double inches)
{
    return inches * kMillimetresPerInch;
}
constexpr double inchesOfMillimetres(double millimetres)
{
    return millimetres / kMillimetresPerInch;
}

} // namespace vorn::attitude
