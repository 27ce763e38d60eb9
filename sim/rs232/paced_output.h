// Bytes waiting to leave a line, let out no faster than the line's baud rate (ten bits a
// byte), with the injected faults applied on the way.
#pragma once

#include "rs232/line_faults.h"
#include "unit/vornset.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

namespace vorn::sim {

class PacedOutput {
public:
    using Clock = std::chrono::steady_clock;

    // Queues a command's answer or a report; corrupts phasing bits as the faults ask.
    void enqueue(const LineOutput& out, LineFaults& faults);

    // Writes what is due to `fd` at `baud`. Returns when more may leave, if anything waits.
    std::optional<Clock::time_point> flush(int fd, unsigned baud, Clock::time_point now, LineFaults& faults);

    bool empty() const { return pending_.empty(); }
    std::size_t pendingBytes() const { return pending_.size(); }
    // The last write was short: wait for the descriptor to take more.
    bool blocked() const { return blocked_; }
    void clear() { pending_.clear(); }
    std::size_t dropped() const { return dropped_; }
    std::size_t sent() const { return sent_; }

private:
    // A receiver that stops reading loses data; keep about what a serial driver queues.
    static constexpr std::size_t kMaxPending = 65536;

    std::deque<uint8_t> pending_;
    Clock::time_point nextByte_ {};
    std::size_t dropped_ = 0;
    std::size_t sent_ = 0;
    bool blocked_ = false;
};

} // namespace vorn::sim
