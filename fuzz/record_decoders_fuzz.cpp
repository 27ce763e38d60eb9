// Feeds arbitrary bytes to every record and packet decoder. Whatever they accept must
// survive a re-encode and decode unchanged.
#include "protocol/data_format.h"
#include "protocol/device_status_block.h"
#include "protocol/isa_record.h"
#include "protocol/packet_header.h"
#include "protocol/rs232_record.h"
#include "protocol/system_status_block.h"
#include "protocol/tcpip_record.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <span>

namespace vp = vorn::protocol;

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool sameReading(const VornReading& a, const VornReading& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

using Encode = std::size_t (*)(const VornReading&, const vp::RecordShape&, std::span<uint8_t>);
using Decode = vp::DecodeResult (*)(std::span<const uint8_t>, const vp::RecordShape&, VornReading&);

// Decodes records back to back, as a stream reader would, re-encoding each valid one.
void walkUnitRecords(std::span<const uint8_t> bytes, const vp::RecordShape& shape, Encode encode, Decode decode)
{
    while (!bytes.empty()) {
        VornReading reading {};
        const auto result = decode(bytes, shape, reading);
        if (result.status != vp::DecodeStatus::Valid) {
            // A reader drops one byte to resynchronise after a fault.
            if (result.status == vp::DecodeStatus::NeedMore) {
                check(result.length > bytes.size());
                return;
            }
            bytes = bytes.subspan(1);
            continue;
        }
        check(result.length > 0 || vp::wordsForDataFormat(shape.dataFormat) == 0);
        std::array<uint8_t, vp::kMaxRecordBytes> again {};
        const auto length = encode(reading, shape, again);
        check(length == result.length);
        VornReading twice {};
        check(decode(std::span(again.data(), length), shape, twice).ok());
        check(sameReading(reading, twice));
        if (result.length == 0) {
            return;
        }
        bytes = bytes.subspan(result.length);
    }
}

void walkTcpipRecords(std::span<const uint8_t> bytes)
{
    while (!bytes.empty()) {
        vp::TcpipRecord record {};
        const auto result = vp::decodeTcpipRecord(bytes, record);
        if (!result.ok()) {
            return;
        }
        std::array<uint8_t, vp::kMaxRecordBytes> again {};
        check(vp::encodeTcpipRecord(record, again) == result.length);
        vp::TcpipRecord twice {};
        check(vp::decodeTcpipRecord(std::span(again.data(), result.length), twice).ok());
        check(sameReading(record.reading, twice.reading));
        bytes = bytes.subspan(result.length);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    // The first byte picks the record shape; the rest is the stream.
    const uint8_t selector = data[0];
    const vp::RecordShape shape {.dataFormat = static_cast<uint8_t>(selector & 0x0F),
                                 .button = (selector & 0x10) != 0,
                                 .tag = (selector & 0x20) != 0,
                                 .checkTag = (selector & 0x40) != 0,
                                 .address = static_cast<uint8_t>(selector >> 7)};
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    walkUnitRecords(bytes, shape, vp::encodeRs232Record, vp::decodeRs232Record);
    walkUnitRecords(bytes, shape, vp::encodeIsaRecord, vp::decodeIsaRecord);
    walkTcpipRecords(bytes);

    vp::PacketHeader header {};
    if (vp::decodePacketHeader(bytes, header).ok()) {
        const auto again = vp::encodePacketHeader(header);
        check(std::memcmp(again.data(), bytes.data(), again.size()) == 0);
    }
    vp::SystemStatusBlock system {};
    (void)vp::decodeSystemStatusBlock(bytes, system);
    VornDeviceConfig device {};
    (void)vp::decodeDeviceStatusBlock(bytes, device);
    return 0;
}
