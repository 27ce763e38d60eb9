// The frame paths where ISA boards differ from serial lines: boards are
// triggered one by one outside group mode, answers are collected word by
// word, and a stream stops by clearing the master board.
#pragma once

#include <vorn/vorn.h>

namespace vorn {

struct VornGroup;

int isaStartSingleFrame(VornGroup& group);
int isaGetFrame(VornGroup& group, VornFrame& frame);
int isaStartFrameStream(VornGroup& group);
int isaStopFrameStream(VornGroup& group);

} // namespace vorn
