// Every packet the controller received, in order; tests wait on it.
#pragma once

#include "protocol/packet_header.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace vorn::sim {

struct ReceivedPacket {
    protocol::PacketHeader header;
    std::vector<uint8_t> data;
};

class PacketLog {
public:
    void append(ReceivedPacket packet);
    std::vector<ReceivedPacket> packets() const;
    std::size_t size() const;
    void clear();
    // Blocks until `count` packets arrived in all, or `timeout` passed.
    bool waitFor(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<ReceivedPacket> packets_;
};

} // namespace vorn::sim
