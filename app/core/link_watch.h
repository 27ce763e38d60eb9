// Tells units that have gone away (a pulled cable, a controller that hung
// up or stopped) from a frame that was merely lost: reads that keep failing,
// with no good frame between them, for longer than a set time mean the units
// are gone; a single failure or a short burst of them does not.
#pragma once

#include <chrono>
#include <optional>

namespace vornscope {

class LinkWatch {
public:
    using Clock = std::chrono::steady_clock;

    explicit LinkWatch(std::chrono::milliseconds lostAfter) : lostAfter_(lostAfter) {}

    // A frame came: the failures before it were a passing fault.
    void good() { firstFailure_.reset(); }
    // A read failed at `now`; true once failures have lasted `lostAfter`.
    // Counted from the end of the first failed read, so one read that hangs
    // for longer than that is not yet a loss: a second one has to fail too.
    bool failed(Clock::time_point now);

private:
    std::chrono::milliseconds lostAfter_;
    std::optional<Clock::time_point> firstFailure_;
};

} // namespace vornscope
