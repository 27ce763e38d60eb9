#pragma once
// Files the user names for a collection (the noise file, the position/angle data file) are
// replaced only once the new content is complete: it is written beside the old file and renamed
// over it, so an abandoned or failed collection leaves the old file as it was.
#include <filesystem>
#include <string>
#include <string_view>

namespace vorn::humgather {

// Whether a new file could be put in place of `path`, found out without touching it (a probe
// file beside it is made and removed). False, with errorText set, when it cannot.
bool canReplace(const std::filesystem::path& path, std::string& errorText);

// Writes `content` beside `path`, then renames it over `path` (the console services do the work). False, with errorText set, when
// anything fails; the old file is then unchanged.
bool replaceFile(const std::filesystem::path& path, std::string_view content, std::string& errorText);

} // namespace vorn::humgather
