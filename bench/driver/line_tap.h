// A tap between the library and a simulated line: the library opens the
// tap's pseudo-terminal, the tap forwards both ways and notes when each
// byte towards the library was written, so a benchmark knows when the last
// byte of every frame left "the unit".
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LineTap {
public:
    using Clock = std::chrono::steady_clock;

    // Opens the simulator's line at `unitPath` at `baudRate` (the simulator
    // paces its output by it) and a new pseudo-terminal whose path
    // slavePath() the library should open.
    LineTap(const std::string& unitPath, unsigned baudRate);
    ~LineTap();

    const std::string& slavePath() const { return slavePath_; }
    // Bytes forwarded to the library so far.
    uint64_t forwarded() const;
    // When the byte with this index (0 = the first ever forwarded) was written.
    Clock::time_point writtenAt(uint64_t index) const;

private:
    void run();

    struct Write {
        uint64_t end; // cumulative count after this write
        Clock::time_point time;
    };

    int unit_ = -1;   // the simulator's line, as its client
    int master_ = -1; // our pseudo-terminal's master side
    int slave_ = -1;  // kept open so the library's close does not hang it up
    int stopPipe_[2] = {-1, -1};
    std::string slavePath_;
    mutable std::mutex mutex_;
    std::vector<Write> writes_;
    uint64_t total_ = 0;
    std::thread thread_;
};
