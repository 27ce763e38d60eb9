#include "controller/packet_log.h"

namespace vorn::sim {

void PacketLog::append(ReceivedPacket packet)
{
    {
        std::lock_guard lock(mutex_);
        packets_.push_back(std::move(packet));
    }
    changed_.notify_all();
}

std::vector<ReceivedPacket> PacketLog::packets() const
{
    std::lock_guard lock(mutex_);
    return packets_;
}

std::size_t PacketLog::size() const
{
    std::lock_guard lock(mutex_);
    return packets_.size();
}

void PacketLog::clear()
{
    std::lock_guard lock(mutex_);
    packets_.clear();
}

bool PacketLog::waitFor(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return packets_.size() >= count; });
}

} // namespace vorn::sim
