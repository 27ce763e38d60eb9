// The units' distortion detection: reading a unit's record and sending the
// 's' commands chosen in the Distortion Detection Options dialog.
#pragma once

#include "core/unit_channel.h"
#include "core/vorn_group.h"

#include <array>

namespace vornscope {

// Reads the unit's "Metal Detection" record into `params`; false when it did not answer.
bool readDistortionRecord(UnitChannel& channel, int unit, DistortionParams& params);

struct DistortionChoice {
    bool on = false;
    std::array<bool, 4> edited {}; // sensitivity, offset, slope, alpha
    std::array<int, 4> values {};
};

// Sends the choice to every unit that supports detection (RS232 and ISA).
void applyDistortionChoice(UnitChannel& channel, CVornGroup& group, const DistortionChoice& choice);

} // namespace vornscope
