// Reads a Vornscope data file into graph frames. Reading stops quietly at
// the end of the data (end of file, a character that cannot start a line
// group, an empty keyword or a number that does not read) and with an error
// at an unknown keyword; the frames read before either stay. Line ends may
// be LF or CR LF, with blanks before them.
#pragma once

#include "core/graph_data.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace vornscope {

enum class ReadOutcome { Complete, Unrecognised, Cancelled };

// Shared between a reading thread and the window that waits for it: bytes
// done out of `total` (loading and parsing count once each), and a request
// to give up.
struct ReadProgress {
    std::atomic<std::uint64_t> done {0};
    std::atomic<std::uint64_t> total {0};
    std::atomic<bool> cancel {false};
};

ReadOutcome readDataFile(std::string_view text, GraphData& graph, ReadProgress* progress = nullptr);

// Reads the whole of a regular file; false when it cannot be opened or read
// (or the read was cancelled: `progress->cancel`).
bool loadFileText(const std::string& path, std::string& text, ReadProgress* progress = nullptr);

} // namespace vornscope
