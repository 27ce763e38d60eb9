// Frame output for people and scripts: CSV, JSON lines, or an aligned table
// (redrawn in place when it goes to a terminal).
#pragma once

#include "measurement.h"
#include "options.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace vornctl {

// A terminal's size in character cells; 0 where it is not known.
struct TerminalSize {
    int rows = 0;
    int columns = 0;
};

struct WriterSetup {
    // Redraw a table in place (only meaningful on a terminal), within `terminal`.
    bool live = false;
    TerminalSize terminal;
    // A host_time_s column: the host's monotonic clock when the frame was
    // taken, beside the frame's own time stamp (the controller's clock over TCP/IP).
    bool hostTime = false;
};

class FrameWriter {
public:
    virtual ~FrameWriter() = default;
    // hostMs: the host's monotonic milliseconds when the frame was taken.
    virtual void write(const VornFrame& frame, uint32_t hostMs) = 0;
    // Called once after the last frame.
    virtual void finish() {}
};

// units: the units that deliver data, in address order.
std::unique_ptr<FrameWriter> makeFrameWriter(OutputFormat format, std::FILE* out, std::vector<UnitLayout> units,
                                             WriterSetup setup = {});

} // namespace vornctl
