#pragma once
// Writing a whole file so that an existing one is replaced only once the new content is complete:
// the text goes into a file beside it, which is then renamed over it. A failed write leaves the
// old file as it was.
#include <string>
#include <string_view>

namespace vorn::console {

struct FileWriteResult {
    bool written = false;
    std::string reason; // the system's reason when not written ("Permission denied")
    explicit operator bool() const { return written; }
};

FileWriteResult replaceFile(const std::string& path, std::string_view content);

} // namespace vorn::console
