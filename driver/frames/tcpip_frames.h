// The frame paths of the networked controller: frames arrive in data
// packets rather than as unit records.
#pragma once

#include <vorn/vorn.h>

namespace vorn {

struct VornGroup;

int tcpipStartSingleFrame(VornGroup& group);
int tcpipGetFrame(VornGroup& group, VornFrame& frame);
int tcpipStartFrameStream(VornGroup& group);
int tcpipStopFrameStream(VornGroup& group);
int tcpipFrameReady(VornGroup& group);

} // namespace vorn
