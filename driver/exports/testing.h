// Test-only helpers of vorn_core (never exported from libvorn.so): put a
// group into any state without hardware.
#pragma once

#include "group/group.h"

namespace vorn::testing {

struct GroupState {
    bool streaming = false;
    bool reportingCycles = false;
    bool standAlone = false;
    bool pv2 = false;
};

// Admits a group like a wake-up (resolution request, frame-ready timer,
// fresh record) and sets its mode and flags. The slot must be empty.
VornGroup& installGroup(int id, ConnectionMode mode, const GroupState& state = {});

// Shuts down every group, as a clean start for the next test.
void shutDownAll();

} // namespace vorn::testing
