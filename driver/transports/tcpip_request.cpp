#include "transports/tcpip_request.h"

#include "group/error_reporter.h"
#include "protocol/system_status_block.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

// The largest request: a header and a system status block.
constexpr std::size_t kLargestRequest = protocol::kPacketHeaderBytes + protocol::kSystemStatusBlockBytes;

bool answerAccepted(const TcpipRequest& request, const protocol::PacketHeader& answer)
{
    if (answer.type != protocol::toByte(request.answerType)) {
        if (request.unit < 0)
            reportError("Vorn \"%s\" command returned invalid packet type: %u.", request.name, answer.type);
        else
            reportError("Vorn \"%s\" command for vorn #%d returned invalid response: %u.", request.name, request.unit,
                        answer.type);
        return false;
    }
    if (answer.errorCode != 0) {
        if (request.unit < 0)
            reportError("Vorn \"%s\" command returned error %u (%u).", request.name, answer.errorCode,
                        answer.errorExtension);
        else
            reportError("Vorn \"%s\" command for vorn #%d returned error %u (%u).", request.name, request.unit,
                        answer.errorCode, answer.errorExtension);
        return false;
    }
    return true;
}

} // namespace

bool exchange(TcpipTransport& transport, const TcpipRequest& request)
{
    std::array<uint8_t, kLargestRequest> packet {};
    const std::size_t dataLength = std::min(request.data.size(), packet.size() - protocol::kPacketHeaderBytes);
    const auto header = protocol::encodePacketHeader(
        transport.nextHeader(request.type, request.subtype, static_cast<uint16_t>(dataLength)));
    std::copy(header.begin(), header.end(), packet.begin());
    std::copy_n(request.data.begin(), dataLength, packet.begin() + protocol::kPacketHeaderBytes);
    if (!transport.sendPacket(std::span(packet.data(), protocol::kPacketHeaderBytes + dataLength))) {
        reportError("Unable to send \"%s\" command to vorns.", request.name);
        return false;
    }
    std::array<uint8_t, protocol::kPacketHeaderBytes> answerBytes {};
    protocol::PacketHeader answer;
    if (!transport.receive(answerBytes)) {
        reportError("Unable to get \"%s\" response from vorns.", request.name);
        return false;
    }
    protocol::decodePacketHeader(answerBytes, answer);
    if (!answerAccepted(request, answer))
        return false;
    if (!request.answerData.empty() && !transport.receive(request.answerData)) {
        reportError("Unable to get \"%s\" response from vorns.", request.name);
        return false;
    }
    return true;
}

bool sendHeaderOnly(TcpipTransport& transport, protocol::PacketType type, const char* name)
{
    const auto header = protocol::encodePacketHeader(transport.nextHeader(type));
    if (transport.sendPacket(header))
        return true;
    reportError("Unable to send \"%s\" command to vorns.", name);
    return false;
}

} // namespace vorn
