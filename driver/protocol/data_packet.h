// The data part of a controller data packet: records one after another until
// the packet's byte count is used up, each filling the reading of the unit it
// names. Pure code: the driver and the fuzzer call it on plain bytes.
#pragma once

#include "protocol/decode_result.h"

#include <vorn/vorn.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorn::protocol {

// Largest data part the library takes: 121 records of at most 30 bytes fit
// many times over.
inline constexpr std::size_t kMaxDataPacketPayload = 4096;

enum class DataPacketFault : uint8_t {
    None,
    TooLong,       // more than kMaxDataPacketPayload bytes
    BadAddress,    // a record names an address above 120
    BadDataFormat, // a record carries format 6 or above 8
    Truncated,     // the last record runs past the end of the data
};

struct DataPacketResult {
    DataPacketFault fault = DataPacketFault::None;
    uint8_t address = 0;    // of the record at fault
    uint8_t dataFormat = 0; // the format byte's high nibble, for BadDataFormat
    std::size_t records = 0;

    bool ok() const { return fault == DataPacketFault::None; }
};

// Fills `frame.reading` (which the caller has zeroed) from `payload`. On a
// fault the readings decoded so far stay written; the caller drops the frame.
DataPacketResult decodeDataPacketPayload(std::span<const uint8_t> payload, VornFrame& frame);

} // namespace vorn::protocol
