// Frame output for people and scripts: CSV, JSON lines, or an aligned table
// (redrawn in place when it goes to a terminal).
#pragma once

#include "measurement.h"
#include "options.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace vornctl {

class FrameWriter {
public:
    virtual ~FrameWriter() = default;
    virtual void write(const VornFrame& frame) = 0;
    // Called once after the last frame.
    virtual void finish() {}
};

// units: the units that deliver data, in address order. live: redraw a
// table in place (only meaningful on a terminal).
std::unique_ptr<FrameWriter> makeFrameWriter(OutputFormat format, std::FILE* out,
                                             std::vector<UnitLayout> units, bool live);

} // namespace vornctl
