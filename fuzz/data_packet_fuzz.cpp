// Feeds arbitrary bytes to the controller data-packet decoder as the driver
// meets them: a header, then a payload of the length the header announces
// (cut to what is there). Whatever it accepts must place each record at its
// address and survive a re-encode; nothing it refuses may touch memory past
// the payload.
#include "protocol/data_packet.h"
#include "protocol/packet_header.h"
#include "protocol/tcpip_record.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vp = vorn::protocol;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    vp::PacketHeader header {};
    if (!vp::decodePacketHeader(bytes, header).ok())
        return 0;
    const auto rest = bytes.subspan(vp::kPacketHeaderBytes);
    // An exact-size copy, so the sanitizer sees any read past the payload.
    std::vector<uint8_t> payload(rest.begin(), rest.begin() + std::min<std::size_t>(header.dataLength, rest.size()));
    VornFrame frame {};
    const vp::DataPacketResult result = vp::decodeDataPacketPayload(payload, frame);
    if (payload.size() > vp::kMaxDataPacketPayload) {
        check(result.fault == vp::DataPacketFault::TooLong);
        return 0;
    }
    if (!result.ok()) {
        check(result.address <= 127);
        return 0;
    }
    // Walk again record by record: each one is where the decoder put it.
    std::span<const uint8_t> walk(payload);
    std::size_t records = 0;
    while (!walk.empty()) {
        vp::TcpipRecord record {};
        const auto decoded = vp::decodeTcpipRecord(walk, record);
        check(decoded.ok() && record.address <= vp::kTcpipLastAddress);
        uint8_t again[64] {};
        check(vp::encodeTcpipRecord(record, again) == decoded.length);
        walk = walk.subspan(decoded.length);
        ++records;
    }
    check(records == result.records);
    return 0;
}
