// Turns a measured pose into the raw integers of a reading, with the unit's hemisphere,
// reference frame, angle align and scaling applied. Every link's units report through
// this, whatever settings record keeps these values.
#pragma once

#include "model/pose.h"

#include <vorn/vorn.h>

#include <array>
#include <cstdint>

namespace vorn::sim {

// How a unit is set to report a pose.
struct ReportFrame {
    uint8_t hemisphere = 0;                    // 0 front .. 5 right
    std::array<int16_t, 3> referenceFrame{};   // raw angles, v x 180 / 32767 degrees
    std::array<int16_t, 3> angleAlign{};
    bool rotateXyz = false;                    // positions turn with the reference frame
    double scalingInches = 36.0;               // full scale: 36, 72 or 144
};

VornReading readingOf(const Pose& pose, const ReportFrame& frame);

// Raw angle of degrees (v x 180 / 32767 degrees), saturated.
int16_t rawAngle(double degrees);

} // namespace vorn::sim
