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
    uint8_t hemisphere = 0;                   // 0 front .. 5 right
    std::array<int16_t, 3> referenceFrame {}; // raw angles, v x 180 / 32767 degrees
    std::array<int16_t, 3> angleAlign {};
    bool rotateXyz = false;      // positions turn with the reference frame
    double scalingInches = 36.0; // full scale: 36, 72 or 144
};

VornReading readingOf(const Pose& pose, const ReportFrame& frame);

// The reading as the unit measures it: 14 bits scaled to 16, the two lowest bits of every value
// 0. Links that carry whole words show this; on ISA a record's first word lends bit 0 to the
// phasing flag, which is only unique while no other word sets it.
VornReading fourteenBitReading(VornReading reading);

// Raw angle of degrees (v x 180 / 32767 degrees), saturated.
int16_t rawAngle(double degrees);

} // namespace vorn::sim
