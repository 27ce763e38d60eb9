// A plain TCP client for talking to the simulated controller byte by byte.
#pragma once

#include "protocol/packet_header.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <vector>

class RawClient {
public:
    explicit RawClient(uint16_t port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in peer {};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(port);
        peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
    }
    ~RawClient() { ::close(fd_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return connected_; }

    void send(const std::vector<uint8_t>& bytes) { (void)!::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // A request of the library's form: protocol 3, everything else as given.
    void request(uint8_t type, uint8_t subtype = 0, uint16_t sequence = 0, const std::vector<uint8_t>& data = {},
                 uint8_t protocolVersion = vorn::protocol::kProtocolVersion)
    {
        vorn::protocol::PacketHeader header;
        header.sequence = sequence;
        header.type = type;
        header.subtype = subtype;
        header.protocolVersion = protocolVersion;
        header.dataLength = static_cast<uint16_t>(data.size());
        const auto bytes = vorn::protocol::encodePacketHeader(header);
        std::vector<uint8_t> packet(bytes.begin(), bytes.end());
        packet.insert(packet.end(), data.begin(), data.end());
        send(packet);
    }

    // Exactly n bytes, or nullopt when they do not come within timeoutMs.
    std::optional<std::vector<uint8_t>> read(std::size_t n, int timeoutMs = 2000)
    {
        std::vector<uint8_t> bytes(n);
        std::size_t got = 0;
        while (got < n) {
            pollfd p {fd_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0)
                return std::nullopt;
            const ssize_t r = ::recv(fd_, bytes.data() + got, n - got, 0);
            if (r <= 0)
                return std::nullopt;
            got += static_cast<std::size_t>(r);
        }
        return bytes;
    }

    std::optional<vorn::protocol::PacketHeader> readHeader(int timeoutMs = 2000)
    {
        const auto bytes = read(vorn::protocol::kPacketHeaderBytes, timeoutMs);
        if (!bytes)
            return std::nullopt;
        vorn::protocol::PacketHeader header;
        vorn::protocol::decodePacketHeader(*bytes, header);
        return header;
    }

    // True when the controller hung up (a read sees the end of the stream).
    bool closedByPeer(int timeoutMs = 2000)
    {
        pollfd p {fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return false;
        uint8_t byte;
        return ::recv(fd_, &byte, 1, 0) == 0;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};
