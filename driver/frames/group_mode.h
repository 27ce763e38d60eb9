// Switching the master between group mode (one point or stream command
// makes every unit send, each record followed by its address) and single
// units. Each switch costs a one-second wait.
#pragma once

#include "group/group.h"
#include "group/units.h"
#include "transports/unit_link.h"

namespace vorn {

// Sends "change group mode" to the master, waits, and records the new
// state. Reports "Unable to send "change group mode" command to master
// vorn." on failure; fails silently when the wait is cancelled.
bool switchGroupMode(VornGroup& group, UnitLink& link, bool on);

// Sends one command byte to the master; on failure reports "Unable to send
// "<what>" command to master vorn.".
bool commandMaster(VornGroup& group, UnitLink& link, uint8_t command, const char* what);

// Starts a stream of units that speak the command set (RS232, ISA): group
// mode on for a vornset, then the stream command to the master.
int startUnitStream(VornGroup& group);

} // namespace vorn
