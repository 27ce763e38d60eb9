// Setting the transmitter's operation mode (0 non-pulsed, 1 pulsed,
// 2 cool-down), with the rules some models impose.
#pragma once

#include "core/vorn_group.h"

#include <optional>
#include <string>
#include <string_view>

namespace vornscope {

enum TransmitterMode : int { kNonPulsed = 0, kPulsed = 1, kCoolDown = 2 };

// The refusal message a model gives for a mode, if it refuses.
std::optional<std::string> transmitterModeRefusal(std::string_view modelString, int mode);

struct TransmitterModeResult {
    bool ok = false;
    std::string message; // empty for silent refusals and for success
};

// Re-reads every unit's configuration into the group, asks the unit that
// drives the active transmitter for its model and sends unit 1 the mode.
TransmitterModeResult setTransmitterMode(VornLibrary& library, CVornGroup& group, int mode);

} // namespace vornscope
