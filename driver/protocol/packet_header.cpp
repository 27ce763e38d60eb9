#include "protocol/packet_header.h"

#include "protocol/word_codec.h"

namespace vorn::protocol {

std::array<uint8_t, kPacketHeaderBytes> encodePacketHeader(const PacketHeader& header)
{
    std::array<uint8_t, kPacketHeaderBytes> out {};
    putBigEndian16(header.sequence, &out[0]);
    putBigEndian16(header.milliseconds, &out[2]);
    putBigEndian32(header.seconds, &out[4]);
    out[8] = header.type;
    out[9] = header.subtype;
    out[10] = header.protocolVersion;
    out[11] = header.errorCode;
    putBigEndian16(header.errorExtension, &out[12]);
    putBigEndian16(header.dataLength, &out[14]);
    return out;
}

DecodeResult decodePacketHeader(std::span<const uint8_t> bytes, PacketHeader& header)
{
    if (bytes.size() < kPacketHeaderBytes) {
        return DecodeResult::needMore(kPacketHeaderBytes);
    }
    header.sequence = readBigEndian16(&bytes[0]);
    header.milliseconds = readBigEndian16(&bytes[2]);
    header.seconds = readBigEndian32(&bytes[4]);
    header.type = bytes[8];
    header.subtype = bytes[9];
    header.protocolVersion = bytes[10];
    header.errorCode = bytes[11];
    header.errorExtension = readBigEndian16(&bytes[12]);
    header.dataLength = readBigEndian16(&bytes[14]);
    return DecodeResult::valid(kPacketHeaderBytes);
}

} // namespace vorn::protocol
