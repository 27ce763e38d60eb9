#include "transports/tcpip_transport.h"

#include "group/error_reporter.h"
#include "group/group.h"
#include "platform/clock.h"

#include <cstdlib>

namespace vorn {

namespace {

uint32_t receiveTimeoutFromEnvironment()
{
    const char* text = std::getenv(TcpipTransport::kReceiveTimeoutVariable);
    if (text == nullptr || *text == '\0')
        return TcpipTransport::kDefaultReceiveTimeoutMs;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value == 0 || value > 3600000)
        return TcpipTransport::kDefaultReceiveTimeoutMs;
    return static_cast<uint32_t>(value);
}

} // namespace

TcpipTransport* tcpipTransportOf(VornGroup& group)
{
    if (group.mode != ConnectionMode::TcpIp)
        return nullptr;
    return dynamic_cast<TcpipTransport*>(group.transport.get());
}

TcpipTransport::TcpipTransport() : receiveTimeoutMs_(receiveTimeoutFromEnvironment()) {}

bool TcpipTransport::connect(const std::string& address, uint16_t port)
{
    if (!socket_.create()) {
        reportError("Unable to create TCP/IP socket.");
        return false;
    }
    const platform::IoResult result = socket_.connect(address, port, receiveTimeoutMs_);
    if (result == platform::IoResult::Quit)
        return false;
    if (result != platform::IoResult::Ok) {
        reportError("Unable to connect TCP/IP socket at address %s, port %u.", address.c_str(), port);
        socket_.close();
        return false;
    }
    sequence_ = 0;
    return true;
}

bool TcpipTransport::sendRaw(std::span<const uint8_t> bytes)
{
    const platform::IoResult result = socket_.sendAll(bytes, platform::nowMs() + receiveTimeoutMs_);
    if (result == platform::IoResult::Ok)
        return true;
    if (result != platform::IoResult::Quit)
        reportError("Unable to send packet over TCP/IP link.");
    return false;
}

bool TcpipTransport::sendPacket(std::span<const uint8_t> packet)
{
    // Whatever the controller sent before is not the answer to this packet.
    return clear() && sendRaw(packet);
}

bool TcpipTransport::receive(std::span<uint8_t> bytes)
{
    const platform::IoResult result = socket_.receiveExactly(bytes, platform::nowMs() + receiveTimeoutMs_);
    if (result == platform::IoResult::Ok)
        return true;
    // A silent controller fails like a broken connection.
    if (result != platform::IoResult::Quit)
        reportError("Unable to get packet from TCP/IP link.");
    return false;
}

bool TcpipTransport::bytesWaiting(std::size_t& count)
{
    if (socket_.bytesWaiting(count))
        return true;
    reportError("Unable to get number of bytes in TCP/IP buffer.");
    return false;
}

bool TcpipTransport::clear()
{
    for (;;) {
        std::size_t waiting = 0;
        if (!bytesWaiting(waiting))
            return false;
        if (waiting == 0)
            return true;
        const std::size_t chunk = waiting < scratch_.size() ? waiting : scratch_.size();
        if (socket_.readAvailable(std::span(scratch_.data(), chunk)) != static_cast<long>(chunk)) {
            reportError("Unable to clear TCP/IP link.");
            return false;
        }
    }
}

protocol::PacketHeader TcpipTransport::nextHeader(protocol::PacketType type, uint8_t subtype, uint16_t dataLength)
{
    protocol::PacketHeader header;
    header.sequence = sequence_++;
    header.type = protocol::toByte(type);
    header.subtype = subtype;
    header.dataLength = dataLength;
    return header;
}

void TcpipTransport::close(VornGroup&)
{
    if (socket_.isOpen()) {
        // Goodbye to the controller; a controller that is gone cannot mind.
        const auto header = protocol::encodePacketHeader(nextHeader(protocol::PacketType::ShutDown));
        socket_.sendAll(header, platform::nowMs() + 100);
    }
    sequence_ = 0;
    socket_.close();
}

} // namespace vorn
