#include "transports/transport.h"

#include "exports/group.h"

namespace vorn {

void closeTransport(VornGroup& group)
{
    if (group.transport) {
        group.transport->close(group);
        group.transport.reset();
    }
    group.mode = ConnectionMode::None;
    group.streaming = false;
    group.mostRecentFrameValid = false;
    group.reportingCycles = false;
    group.callback = nullptr;
    group.userValue = 0;
    group.callbackFired = false;
}

} // namespace vorn
