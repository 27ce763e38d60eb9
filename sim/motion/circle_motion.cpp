#include "motion/circle_motion.h"

#include <algorithm>
#include <cmath>

namespace vorn::sim {

namespace {

int16_t fraction(double value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

} // namespace

VornReading circleReading(uint8_t address, double seconds)
{
    const double angle = 0.5 * seconds + address;
    const double radius = 0.2 + 0.05 * (address % 8);
    VornReading r {};
    r.position[0] = fraction(radius * std::cos(angle));
    r.position[1] = fraction(radius * std::sin(angle));
    r.position[2] = fraction(0.01 * address);
    r.angles[0] = fraction(std::remainder(angle, 2 * M_PI) / M_PI);
    const double c = std::cos(angle), s = std::sin(angle);
    const double matrix[9] = {c, s, 0, -s, c, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i)
        r.matrix[i] = fraction(matrix[i]);
    r.quaternion[0] = fraction(std::cos(angle / 2));
    r.quaternion[3] = fraction(std::sin(angle / 2));
    return r;
}

} // namespace vorn::sim
