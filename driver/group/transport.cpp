#include "group/transport.h"

#include "group/group.h"

namespace vorn {

void closeTransport(VornGroup& group)
{
    if (group.transport) {
        group.transport->close(group);
        // A call of this group may be waiting further up the stack (a pump
        // hook shut the group down): the closed transport then lives on
        // with the record until that call has failed and returned.
        if (group.callsInProgress == 0)
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
