// TCP/IP data records inside a controller data packet: an address/button byte, a format
// nibble, the format's words big-endian, then a button word when flagged.
#pragma once

#include "protocol/decode_result.h"

#include <vorn/vorn.h>

#include <cstdint>
#include <span>

namespace vorn::protocol {

inline constexpr uint8_t kTcpipLastAddress = 120;
inline constexpr uint8_t kTcpipButtonFlag = 0x80;

struct TcpipRecord {
    uint8_t address = 0;
    uint8_t dataFormat = 0;
    bool button = false;
    VornReading reading {};
};

// Bytes of a record with this format and button flag (formats without words count 0 words).
std::size_t tcpipRecordLength(uint8_t dataFormat, bool button);

// Writes `record` into `out`; returns the bytes written, or 0 when `out` is too small,
// the address is above 120 or the format invalid.
std::size_t encodeTcpipRecord(const TcpipRecord& record, std::span<uint8_t> out);

// Decodes one record (its reading zeroed first). Faults: BadAddress (above 120),
// BadDataFormat (6 or above 8).
DecodeResult decodeTcpipRecord(std::span<const uint8_t> bytes, TcpipRecord& record);

} // namespace vorn::protocol
