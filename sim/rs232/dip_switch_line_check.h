// The line check a unit's dip switches select at power-up: the unit runs no commands and only
// answers as the check asks, so the serial line itself can be checked.
#pragma once

#include "unit/unit_config.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vorn::sim {

class LineCheck {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kOkInterval {500};

    explicit LineCheck(LineCheckMode mode) : mode_(mode) {}

    bool on() const { return mode_ != LineCheckMode::Off; }

    // Power-up: the counting starts again and the first "OK" leaves at once.
    void reset(Clock::time_point now);

    // Appends the answer to bytes received.
    void answer(std::span<const uint8_t> bytes, std::vector<uint8_t>& out);

    // Appends what the test sends on its own by `now`; returns when it sends next.
    std::optional<Clock::time_point> tick(Clock::time_point now, std::vector<uint8_t>& out);

private:
    LineCheckMode mode_;
    uint8_t counter_ = 0;
    Clock::time_point nextOk_ {};
};

} // namespace vorn::sim
