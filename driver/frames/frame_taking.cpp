#include "group/workers.h"

namespace vorn {

int takeFrame(VornGroup& group, VornFrame& frame)
{
    const int result = getFrame(group, frame);
    if (result != 0) {
        group.mostRecentFrame = frame;
        group.mostRecentFrameValid = true;
        group.callbackFired = false; // the next frame may call back again
    }
    return result;
}

} // namespace vorn
