// vornctl record and stream files (CSV or JSON lines) read as graph frames,
// through the reader vornsim replays them with. Units become sensors 1, 2, ...
// in address order, as Vornscope numbers the units with a sensor.
#pragma once

#include "core/data_file_reader.h"

#include <string_view>

namespace vornscope {

// A recording rather than a Vornscope data file: its first line is a "#"
// header, a JSON object or stream's "time_s," column names.
bool isRecordingText(std::string_view text);

// The frames of a recording (none for one stopped before its first frame);
// Unrecognised for text no recording reader takes. A file cut short gives
// the whole frames before the cut.
ReadOutcome readRecordingText(std::string_view text, GraphData& graph);

} // namespace vornscope
