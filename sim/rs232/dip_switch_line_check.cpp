#include "rs232/dip_switch_line_check.h"

namespace vorn::sim {

namespace {
constexpr uint8_t kOkLine[] = {'O', 'K', '\r'};
constexpr int kBlockLength = 256;
} // namespace

void LineCheck::reset(Clock::time_point now)
{
    counter_ = 0;
    nextOk_ = now;
}

void LineCheck::answer(std::span<const uint8_t> bytes, std::vector<uint8_t>& out)
{
    switch (mode_) {
    case LineCheckMode::Echo: out.insert(out.end(), bytes.begin(), bytes.end()); return;
    case LineCheckMode::OneNumber:
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out.push_back(counter_++);
        }
        return;
    case LineCheckMode::Block:
        // Counting bytes make a lost or doubled byte show where it happened.
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            for (int n = 0; n < kBlockLength; ++n) {
                out.push_back(static_cast<uint8_t>(n));
            }
        }
        return;
    case LineCheckMode::Ok:
    case LineCheckMode::Off: return;
    }
}

std::optional<LineCheck::Clock::time_point> LineCheck::tick(Clock::time_point now, std::vector<uint8_t>& out)
{
    if (mode_ != LineCheckMode::Ok) {
        return std::nullopt;
    }
    if (now >= nextOk_) {
        out.insert(out.end(), std::begin(kOkLine), std::end(kOkLine));
        nextOk_ = now + kOkInterval;
    }
    return nextOk_;
}

} // namespace vorn::sim
