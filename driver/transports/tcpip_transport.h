// The TCP/IP side of a group: one connection to the networked controller,
// the packet sequence number, and the three packet operations everything
// else is built on (send after clearing the receive side, receive a known
// length, clear). Unlike a bare socket read, every receive has a time-out.
#pragma once

#include "group/transport.h"
#include "platform/stream_socket.h"
#include "protocol/packet_header.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vorn {

class TcpipTransport final : public Transport {
public:
    // How long a receive waits for the controller, unless the environment
    // variable below says otherwise (read at wake-up).
    static constexpr uint32_t kDefaultReceiveTimeoutMs = 5000;
    static constexpr const char* kReceiveTimeoutVariable = "VORN_TCPIP_TIMEOUT_MS";
    // Clearing reads in chunks of this size.
    static constexpr std::size_t kClearChunk = 50000;

    TcpipTransport();

    // Socket creation and connection, with the wake-up's messages.
    bool connect(const std::string& address, uint16_t port);

    // The packet operations. Each reports its own failure message; a wait
    // cancelled by a quit request fails silently.
    bool sendPacket(std::span<const uint8_t> packet);
    bool receive(std::span<uint8_t> bytes);
    bool clear();
    // Bytes the controller sent that nobody has read; false (with the
    // message) when the socket cannot say.
    bool bytesWaiting(std::size_t& count);

    // A header of the library's own: the next sequence number, protocol 3.
    protocol::PacketHeader nextHeader(protocol::PacketType type, uint8_t subtype = 0, uint16_t dataLength = 0);
    uint16_t sequence() const { return sequence_; }
    void setSequenceForTesting(uint16_t sequence) { sequence_ = sequence; }

    uint32_t receiveTimeoutMs() const { return receiveTimeoutMs_; }

    // Sends the shut-down packet (its fate does not matter) and closes.
    void close(VornGroup& group) override;

private:
    bool sendRaw(std::span<const uint8_t> bytes);

    platform::StreamSocket socket_;
    uint16_t sequence_ = 0;
    uint32_t receiveTimeoutMs_ = kDefaultReceiveTimeoutMs;
    std::array<uint8_t, kClearChunk> scratch_ {};
};

// The group's TCP/IP transport, or nullptr when it is not a TCP/IP group.
TcpipTransport* tcpipTransportOf(VornGroup& group);

} // namespace vorn
