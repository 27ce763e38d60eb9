// Frames from the networked controller: each arrives whole in one data
// packet, time-stamped by the controller's clock.
#include "frames/tcpip_frames.h"

#include "group/error_reporter.h"
#include "group/group.h"
#include "platform/clock.h"
#include "protocol/data_packet.h"
#include "transports/tcpip_request.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

int failRead(int code = VORN_ERR_TCPIP_READ)
{
    reportError("Unable to get data packet from vorns.");
    setErrorCode(code);
    return 0;
}

// Reads past a data part too long to take, so the next header is found
// where it starts.
bool skipPayload(TcpipTransport& transport, std::size_t length)
{
    std::array<uint8_t, protocol::kMaxDataPacketPayload> sink;
    while (length > 0) {
        const std::size_t chunk = std::min(length, sink.size());
        if (!transport.receive(std::span(sink.data(), chunk)))
            return false;
        length -= chunk;
    }
    return true;
}

// Receives headers until a data packet's comes. In a stream other packets
// are dropped with everything behind them; the whole search is bounded by
// the receive time-out, so a controller that only sends the wrong packets
// cannot hold the call forever.
bool receiveDataHeader(VornGroup& group, TcpipTransport& transport, protocol::PacketHeader& header)
{
    const uint64_t deadline = platform::nowMs() + transport.receiveTimeoutMs();
    for (;;) {
        std::array<uint8_t, protocol::kPacketHeaderBytes> bytes;
        if (!transport.receive(bytes))
            return failRead();
        protocol::decodePacketHeader(bytes, header);
        if (protocol::isDataPacket(header.type))
            return true;
        if (!group.streaming) {
            reportError("Vorn data stream returned invalid packet type: %u.", header.type);
            setErrorCode(VORN_ERR_TCPIP_PACKET_TYPE);
            return false;
        }
        if (!transport.clear() || platform::nowMs() > deadline)
            return failRead();
    }
}

int refuseRecord(const protocol::DataPacketResult& result)
{
    switch (result.fault) {
    case protocol::DataPacketFault::BadAddress:
        reportError("Invalid vorn number received: %u", result.address);
        setErrorCode(VORN_ERR_TCPIP_ADDRESS);
        break;
    case protocol::DataPacketFault::BadDataFormat:
        reportError("Invalid vorn data format received for vorn #%d: 0x%02X", result.address, result.dataFormat);
        setErrorCode(VORN_ERR_TCPIP_RECORD);
        break;
    default:
        reportError("Vorn data packet ended inside the record of vorn #%d.", result.address);
        setErrorCode(VORN_ERR_TCPIP_RECORD);
        break;
    }
    return 0;
}

} // namespace

int tcpipStartSingleFrame(VornGroup& group)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    return transport != nullptr && sendHeaderOnly(*transport, protocol::PacketType::SingleShot, "single shot") ? 1 : 0;
}

int tcpipGetFrame(VornGroup& group, VornFrame& frame)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    if (transport == nullptr)
        return 0;
    protocol::PacketHeader header;
    if (!receiveDataHeader(group, *transport, header))
        return 0;
    if (header.dataLength > protocol::kMaxDataPacketPayload) {
        skipPayload(*transport, header.dataLength);
        reportError("Vorn data packet announced %u data bytes; a data packet carries at most %zu.", header.dataLength,
                    protocol::kMaxDataPacketPayload);
        setErrorCode(VORN_ERR_TCPIP_READ);
        return 0;
    }
    std::array<uint8_t, protocol::kMaxDataPacketPayload> payload;
    const auto data = std::span(payload.data(), header.dataLength);
    if (!transport->receive(data))
        return failRead();
    VornFrame scratch {};
    scratch.time = header.timeMs();
    const protocol::DataPacketResult result = protocol::decodeDataPacketPayload(data, scratch);
    if (!result.ok())
        return refuseRecord(result);
    frame = scratch;
    return 1;
}

int tcpipStartFrameStream(VornGroup& group)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    if (transport == nullptr || !sendHeaderOnly(*transport, protocol::PacketType::RunContinuous, "run continuous"))
        return 0;
    std::array<uint8_t, protocol::kPacketHeaderBytes> bytes;
    if (!transport->receive(bytes)) {
        reportError("Unable to get \"run continuous\" response from vorns.");
        return 0;
    }
    protocol::PacketHeader answer;
    protocol::decodePacketHeader(bytes, answer);
    // Data may come before the acknowledgement; start from a clean buffer then.
    if (answer.type != protocol::toByte(protocol::PacketType::RunContinuousAnswer) && !transport->clear())
        return 0;
    group.streaming = true;
    return 1;
}

int tcpipStopFrameStream(VornGroup& group)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    return transport != nullptr && sendHeaderOnly(*transport, protocol::PacketType::StopData, "stop data") ? 1 : 0;
}

int tcpipFrameReady(VornGroup& group)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    std::size_t waiting = 0;
    return transport != nullptr && transport->bytesWaiting(waiting) && waiting > 0 ? 1 : 0;
}

} // namespace vorn
