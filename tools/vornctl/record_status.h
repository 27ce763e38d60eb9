// What a recording has taken so far, and the status line that shows it on a
// terminal: elapsed time, frames, frame rate and frames lost (both by the
// frames' own time stamps).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vornctl {

class RecordStatus {
public:
    // framePeriodS: the expected time between frames (0: unknown, no gaps
    // counted). `out` null: count only, draw nothing.
    RecordStatus(std::FILE* out, double framePeriodS);

    // A frame with its own time stamp in milliseconds.
    void frame(uint32_t timeMs);
    // Redraws the line at most four times a second.
    void update();
    // Draws the last state and ends the line.
    void finish();
    // The group was lost: a frame after it starts a new count of time
    // stamps, which may start afresh.
    void gap();
    // A line of its own above the status line (always shown, as errors are).
    void note(const std::string& text);

    uint64_t frames() const { return frames_; }
    uint64_t lost() const { return lost_; }
    std::string summary() const;

private:
    void draw();

    std::FILE* out_;
    double periodMs_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point drawnAt_ {};
    uint64_t frames_ = 0;
    uint64_t lost_ = 0;
    uint64_t gaps_ = 0;
    uint64_t segments_ = 0;      // stretches of frames between gaps
    uint64_t segmentFrames_ = 0; // since the start or the last gap
    uint64_t lostBefore_ = 0;    // in the segments before
    double spanBefore_ = 0;
    uint32_t firstTimeMs_ = 0;
    double spanMs_ = 0; // the time stamps' spans of every segment together
};

} // namespace vornctl
