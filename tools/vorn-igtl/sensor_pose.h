// A sensor's pose as a tracking client wants it: millimetres and a rotation
// that takes sensor coordinates into tracker coordinates.
#pragma once

#include <array>

namespace vornigtl {

struct SensorPose {
    std::array<std::array<double, 3>, 3> rotation {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};  // [row][column]
    std::array<double, 3> positionMm {};
};

} // namespace vornigtl
