// Reads a Vornscope data file into graph frames. Reading stops quietly at
// the end of the data (end of file, a character that cannot start a line
// group, an empty keyword or a number that does not read) and with an error
// at an unknown keyword; the frames read before either stay.
#pragma once

#include "core/graph_data.h"

#include <string>
#include <string_view>

namespace vornscope {

enum class ReadOutcome { Complete, Unrecognised };

ReadOutcome readDataFile(std::string_view text, GraphData& graph);

// Reads the whole file; false when it cannot be opened.
bool loadFileText(const std::string& path, std::string& text);

} // namespace vornscope
