// A recording for --replay: a vornctl record or stream file (CSV or JSON
// lines) or a Vornscope data file, told apart by its first line.
#pragma once

#include "replay/recorded_motion.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vorn::sim {

struct ReplayLoad {
    std::optional<RecordedMotion> motion; // empty when nothing can be replayed
    std::string error;                    // why not
    std::string note;                     // what was read, and where reading stopped early
    bool recognised = false;              // a kind of recording, even without frames
};

ReplayLoad loadReplayFile(const std::filesystem::path& file);
// The same for text in memory; `name` names it in messages.
ReplayLoad readReplayText(std::string_view text, const std::string& name);

} // namespace vorn::sim
