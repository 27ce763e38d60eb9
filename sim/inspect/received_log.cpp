#include "inspect/received_log.h"

namespace vorn::sim {

void ReceivedLog::append(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point time)
{
    if (bytes.empty()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        chunks_.push_back({time, {bytes.begin(), bytes.end()}});
        total_ += bytes.size();
    }
    changed_.notify_all();
}

std::vector<uint8_t> ReceivedLog::bytes() const
{
    std::lock_guard lock(mutex_);
    std::vector<uint8_t> all;
    all.reserve(total_);
    for (const auto& chunk : chunks_) {
        all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
    }
    return all;
}

std::vector<ReceivedChunk> ReceivedLog::chunks() const
{
    std::lock_guard lock(mutex_);
    return chunks_;
}

std::size_t ReceivedLog::size() const
{
    std::lock_guard lock(mutex_);
    return total_;
}

void ReceivedLog::clear()
{
    std::lock_guard lock(mutex_);
    chunks_.clear();
    total_ = 0;
}

bool ReceivedLog::waitFor(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return total_ >= count; });
}

} // namespace vorn::sim
