#include "record_status.h"

#include <algorithm>
#include <cmath>

namespace vornctl {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

RecordStatus::RecordStatus(std::FILE* out, double framePeriodS)
    : out_(out), periodMs_(framePeriodS * 1000.0), start_(std::chrono::steady_clock::now())
{
}

void RecordStatus::frame(uint32_t timeMs)
{
    if (frames_ == 0)
        start_ = std::chrono::steady_clock::now(); // the rate counts from the first frame
    if (segmentFrames_ == 0) {
        firstTimeMs_ = timeMs;
        ++segments_;
    }
    ++frames_;
    ++segmentFrames_;
    // Frames the time stamps say should have come, less those that came:
    // dropped by the driver (phase error) or lost on the way. Counted over
    // the whole span, so that stamps coming in bursts do not add up.
    const double segmentMs = static_cast<uint32_t>(timeMs - firstTimeMs_);
    spanMs_ = spanBefore_ + segmentMs;
    if (periodMs_ > 0) {
        // A late last stamp is not a lost frame: one period of slack.
        const auto expected = static_cast<uint64_t>(std::max(0.0, std::floor(segmentMs / periodMs_ - 1.0))) + 1;
        lost_ = lostBefore_ + (expected > segmentFrames_ ? expected - segmentFrames_ : 0);
    }
}

void RecordStatus::gap()
{
    ++gaps_;
    segmentFrames_ = 0;
    lostBefore_ = lost_;
    spanBefore_ = spanMs_;
}

void RecordStatus::note(const std::string& text)
{
    std::fprintf(stderr, "%s%s\n", out_ != nullptr ? "\r\x1b[2K" : "", text.c_str());
    drawnAt_ = {}; // the status line comes back at the next update
}

void RecordStatus::update()
{
    if (out_ == nullptr || std::chrono::steady_clock::now() - drawnAt_ < std::chrono::milliseconds(250))
        return;
    draw();
}

void RecordStatus::finish()
{
    if (out_ == nullptr)
        return;
    draw();
    std::fputc('\n', out_);
}

std::string RecordStatus::summary() const
{
    const double elapsed = secondsSince(start_);
    const auto whole = static_cast<long>(elapsed);
    char text[96];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld  %llu frames  %.1f Hz  %llu lost", whole / 3600,
                  whole / 60 % 60, whole % 60, static_cast<unsigned long long>(frames_),
                  spanMs_ > 0 ? static_cast<double>(frames_ - segments_) * 1000.0 / spanMs_ : 0.0,
                  static_cast<unsigned long long>(lost_));
    if (gaps_ > 0)
        return text + ("  " + std::to_string(gaps_) + (gaps_ == 1 ? " gap" : " gaps"));
    return text;
}

void RecordStatus::draw()
{
    std::fprintf(out_, "\r\x1b[2Krecording  %s", summary().c_str());
    std::fflush(out_);
    drawnAt_ = std::chrono::steady_clock::now();
}

} // namespace vornctl
