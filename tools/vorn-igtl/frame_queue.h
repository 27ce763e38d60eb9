// What one client still has to receive: a few whole frames, oldest first. A
// client that reads slower than frames arrive loses its oldest frames, so
// acquisition never waits for it. Slots keep their memory, so pushing a frame
// of a size seen before allocates nothing. Not thread-safe: the owner locks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vornigtl {

class FrameQueue {
public:
    explicit FrameQueue(std::size_t capacity);

    // Copies the bytes in; drops the oldest frame when full. Returns true when
    // a frame was dropped.
    bool push(const uint8_t* bytes, std::size_t size);
    // Moves the oldest frame into `out` (whose memory is reused). False when empty.
    bool pop(std::vector<uint8_t>& out);

    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    std::size_t capacity() const { return slots_.size(); }

private:
    std::vector<std::vector<uint8_t>> slots_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

} // namespace vornigtl
