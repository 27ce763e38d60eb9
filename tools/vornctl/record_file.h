// The file a recording goes to, written as it goes: every piece (the header,
// one frame's rows) lands whole or not at all, so that a full disk or a
// killed program leaves a file that ends with the last whole frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vornctl {

class RecordFile {
public:
    // A new file is written in place; an existing regular file is written
    // beside it and replaced only when close() succeeds; a device or pipe is
    // written directly. Null with `error` set when it cannot be opened.
    static std::unique_ptr<RecordFile> open(const std::string& path, std::string& error);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Writes `text` whole; on failure cuts a partial write back off and
    // returns false with error() set. Nothing more is written after a failure.
    bool append(const std::string& text);
    // Syncs and, for a file written beside an old one, puts it in its place.
    bool close();
    // Removes what was opened when the recording never started.
    void discard();

    const std::string& error() const { return error_; }
    // Where the rows are: the path given, or the file beside it until close().
    const std::string& writtenPath() const { return writing_; }
    uint64_t bytes() const { return bytes_; }

private:
    RecordFile(int fd, std::string target, std::string writing);
    bool fail(const std::string& what, int code);

    int fd_;
    std::string target_;
    std::string writing_;
    uint64_t bytes_ = 0;
    std::string error_;
};

} // namespace vornctl
