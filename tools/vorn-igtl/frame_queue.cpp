#include "frame_queue.h"

#include <algorithm>

namespace vornigtl {

FrameQueue::FrameQueue(std::size_t capacity) : slots_(std::max<std::size_t>(capacity, 1)) {}

bool FrameQueue::push(const uint8_t* bytes, std::size_t size)
{
    bool dropped = false;
    if (count_ == slots_.size()) {
        first_ = (first_ + 1) % slots_.size();
        --count_;
        dropped = true;
    }
    auto& slot = slots_[(first_ + count_) % slots_.size()];
    slot.assign(bytes, bytes + size);
    ++count_;
    return dropped;
}

bool FrameQueue::pop(std::vector<uint8_t>& out)
{
    if (count_ == 0)
        return false;
    out.swap(slots_[first_]); // the slot takes the caller's old buffer for its next frame
    first_ = (first_ + 1) % slots_.size();
    --count_;
    return true;
}

} // namespace vornigtl
