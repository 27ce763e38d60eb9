// Steps that the wake-ups of RS232 and ISA groups share.
#pragma once

#include "group/group.h"
#include "transports/unit_link.h"

namespace vorn {

// Mode, stand-alone flag, time-outs and unit count of a fresh group, and the
// stored report rate 1 and hemisphere 0 of each of its units.
void prepareUnitGroup(VornGroup& group, ConnectionMode mode, bool standAlone, int numberOfUnits, uint32_t readTimeoutMs,
                      uint32_t writeTimeoutMs);

// Tells the master how many units are on the FVB, with the waits around it.
// Reports "Unable to send "auto config" command to master vorn.".
bool autoConfigure(VornGroup& group, UnitLink& link, int numberOfUnits);

} // namespace vorn
