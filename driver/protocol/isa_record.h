// ISA data records: whole words high byte first, a phasing flag in bit 0 of the first
// word's low byte, then an optional button word and an optional group-mode tag word.
#pragma once

#include "protocol/decode_result.h"
#include "protocol/record_shape.h"

#include <vorn/vorn.h>

#include <cstdint>
#include <span>

namespace vorn::protocol {

inline constexpr uint16_t kIsaPhasingFlag = 0x0001;

// Writes the record of `reading` as the board delivers it (bytes in word order, high
// first) and sets the phasing flag in the first word; returns the bytes written, or 0
// when `out` is too small or the format is invalid.
std::size_t encodeIsaRecord(const VornReading& reading, const RecordShape& shape, std::span<uint8_t> out);

// Decodes one record into `reading` (zeroed first). The phasing flag stays in the first
// word, as the unit sent it. The tag word's first byte is the unit's address.
DecodeResult decodeIsaRecord(std::span<const uint8_t> bytes, const RecordShape& shape, VornReading& reading);

} // namespace vorn::protocol
