// The TCP/IP workers: wake-up of a networked controller and the packet
// pass-through exports.
#include "group/workers.h"
#include "transports/tcpip_request.h"
#include "transports/tcpip_transport.h"

namespace vorn {

int tcpipWakeUp(VornGroup& group, const char* serverAddress, uint16_t port, int numberOfUnits)
{
    group.mode = ConnectionMode::TcpIp;
    auto owned = std::make_unique<TcpipTransport>();
    TcpipTransport& transport = *owned;
    group.transport = std::move(owned);
    const bool woken = transport.connect(serverAddress, port) &&
                       exchange(transport, {.name = "wake up",
                                            .type = protocol::PacketType::WakeUp,
                                            .answerType = protocol::PacketType::WakeUpAnswer});
    if (!woken) {
        closeTransport(group);
        return 0;
    }
    group.systemConfig.numberOfUnits = static_cast<uint8_t>(numberOfUnits);
    return 1;
}

int tcpipSendCommand(VornGroup& group, const unsigned char* packet, uint16_t length)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    return transport != nullptr && transport->sendPacket(std::span(packet, length)) ? 1 : 0;
}

int tcpipGetResponse(VornGroup& group, unsigned char* packet, uint16_t length)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    return transport != nullptr && transport->receive(std::span(packet, length)) ? 1 : 0;
}

int tcpipClearBuffer(VornGroup& group)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    return transport != nullptr && transport->clear() ? 1 : 0;
}

} // namespace vorn
