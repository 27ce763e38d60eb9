// What the simulated units really sent, as the receiving side decodes it: a bounded log of the
// latest readings per address, so that a soak or a test can tell a delivered reading from one
// corrupted on the way. Every link records here when it encodes a record.
#pragma once

#include <vorn/vorn.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

namespace vorn::sim {

class SentReadings {
public:
    static constexpr std::size_t kKeptPerAddress = 4096;

    void record(uint8_t address, const VornReading& reading);
    // Whether `reading` is among the latest readings sent for `address`.
    bool contains(uint8_t address, const VornReading& reading) const;
    std::size_t count() const;

private:
    mutable std::mutex mutex_;
    std::array<std::deque<VornReading>, 128> kept_;
    std::size_t count_ = 0;
};

// The process's log: every simulator in the process records into it.
SentReadings& sentReadings();

} // namespace vorn::sim
