#include "protocol/data_packet.h"

#include "protocol/tcpip_record.h"

namespace vorn::protocol {

DataPacketResult decodeDataPacketPayload(std::span<const uint8_t> payload, VornFrame& frame)
{
    DataPacketResult result;
    if (payload.size() > kMaxDataPacketPayload) {
        result.fault = DataPacketFault::TooLong;
        return result;
    }
    while (!payload.empty()) {
        TcpipRecord record;
        const DecodeResult decoded = decodeTcpipRecord(payload, record);
        result.address = static_cast<uint8_t>(payload[0] & 0x7F);
        if (decoded.status == DecodeStatus::NeedMore) {
            result.fault = DataPacketFault::Truncated;
            return result;
        }
        if (!decoded.ok()) {
            result.fault =
                decoded.fault == DecodeFault::BadAddress ? DataPacketFault::BadAddress : DataPacketFault::BadDataFormat;
            result.dataFormat = payload.size() > 1 ? static_cast<uint8_t>(payload[1] >> 4) : 0;
            return result;
        }
        frame.reading[record.address] = record.reading;
        payload = payload.subspan(decoded.length);
        ++result.records;
    }
    return result;
}

} // namespace vorn::protocol
