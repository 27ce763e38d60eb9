// Every byte a line received, in order, with the time it arrived; tests wait on it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace vorn::sim {

struct ReceivedChunk {
    std::chrono::steady_clock::time_point time;
    std::vector<uint8_t> bytes;
};

class ReceivedLog {
public:
    void append(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point time);

    std::vector<uint8_t> bytes() const;
    std::vector<ReceivedChunk> chunks() const;
    std::size_t size() const;
    void clear();

    // Blocks until at least `count` bytes were received in all, or `timeout` passed.
    bool waitFor(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<ReceivedChunk> chunks_;
    std::size_t total_ = 0;
};

} // namespace vorn::sim
