// Turns a measured pose into the raw integers of a reading, with the unit's hemisphere,
// reference frame, angle align and scaling applied.
#pragma once

#include "model/sensor_model.h"
#include "unit/unit_settings.h"

#include <vorn/vorn.h>

namespace vorn::sim {

// `scalingInches` is 36, 72 or 144.
VornReading readingOf(const Pose& pose, const UnitSettings& settings, double scalingInches);

// Raw angle of degrees (v x 180 / 32767 degrees), saturated.
int16_t rawAngle(double degrees);

} // namespace vorn::sim
