// Every byte a line received, in order, with the time it arrived; tests wait on it.
#pragma once

#include "inspect/waitable_log.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

namespace vorn::sim {

struct ReceivedChunk {
    std::chrono::steady_clock::time_point time;
    std::vector<uint8_t> bytes;
};

// size() and waitFor() count bytes.
class ReceivedLog : public WaitableLog<ReceivedChunk> {
public:
    void append(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point time);

    std::vector<uint8_t> bytes() const;
    std::vector<ReceivedChunk> chunks() const { return entries(); }
};

} // namespace vorn::sim
