// One request to the networked controller and its answer, the pattern of
// every library operation over TCP/IP: header (and data) out, answer header
// in, its type and error code checked, then the answer's data of known
// length. Failures are reported in the operation's own words.
#pragma once

#include "protocol/packet_header.h"
#include "transports/tcpip_transport.h"

#include <cstdint>
#include <span>

namespace vorn {

struct TcpipRequest {
    const char* name; // "wake up", "get status"... as messages quote it
    protocol::PacketType type;
    uint8_t subtype = 0;              // the unit of a per-unit status request
    std::span<const uint8_t> data {}; // a status block for "send setup"
    protocol::PacketType answerType;
    std::span<uint8_t> answerData {}; // filled after a good answer header
    int unit = -1;                    // names the unit in messages of per-unit requests
};

// True when the controller accepted the request and its data arrived.
bool exchange(TcpipTransport& transport, const TcpipRequest& request);

// Sends a header-only packet; reports "Unable to send "<name>" command to vorns.".
bool sendHeaderOnly(TcpipTransport& transport, protocol::PacketType type, const char* name);

} // namespace vorn
