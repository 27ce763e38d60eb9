// The hand-over of data points from an acquisition thread to the view. The
// thread appends each finished point under a short lock; the view takes all
// waiting points at once by swapping buffers, so no point is lost or torn and
// neither side waits for the other's work. Storage is reused after warm-up.
#pragma once

#include "core/sample_frame.h"

#include <mutex>
#include <vector>

namespace vornscope {

class PointQueue {
public:
    void push(const SampleFrame& frame)
    {
        const std::lock_guard lock(mutex_);
        if (size_ == pending_.size())
            pending_.emplace_back();
        pending_[size_++] = frame;
    }

    // Moves every waiting point into `out` (its old contents are dropped);
    // returns how many. `out` keeps the storage for the next swap.
    std::size_t takeAll(std::vector<SampleFrame>& out, std::size_t& count)
    {
        const std::lock_guard lock(mutex_);
        out.swap(pending_);
        count = size_;
        size_ = 0;
        return count;
    }

    std::size_t waiting() const
    {
        const std::lock_guard lock(mutex_);
        return size_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<SampleFrame> pending_;
    std::size_t size_ = 0;
};

} // namespace vornscope
