#include "exports/testing.h"

#include "exports/dispatch.h"
#include "exports/frame_ready_timer.h"
#include "exports/group_table.h"
#include "platform/timer_resolution.h"

namespace vorn::testing {

VornGroup& installGroup(int id, ConnectionMode mode, const GroupState& state)
{
    platform::requestMillisecondResolution();
    frameReadyTimer::ensureRunning();
    VornGroup& group = groups::create(id);
    group.mode = mode;
    group.streaming = state.streaming;
    group.reportingCycles = state.reportingCycles;
    group.standAlone = state.standAlone;
    group.pv2 = state.pv2;
    return group;
}

void shutDownAll()
{
    for (int id = groups::kFirstId; id <= groups::kLastId; ++id)
        shutDown(id);
}

} // namespace vorn::testing
