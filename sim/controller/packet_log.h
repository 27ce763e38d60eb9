// Every packet the controller received, in order; tests wait on it.
#pragma once

#include "inspect/waitable_log.h"
#include "protocol/packet_header.h"

#include <cstdint>
#include <vector>

namespace vorn::sim {

struct ReceivedPacket {
    protocol::PacketHeader header;
    std::vector<uint8_t> data;
};

// size() and waitFor() count packets.
class PacketLog : public WaitableLog<ReceivedPacket> {
public:
    void append(ReceivedPacket packet) { WaitableLog::append(std::move(packet), 1); }
    std::vector<ReceivedPacket> packets() const { return entries(); }
};

} // namespace vorn::sim
