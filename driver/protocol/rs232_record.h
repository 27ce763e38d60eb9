// RS232 data records: words packed 7 bits to the byte with a phasing bit on the first byte,
// then an optional raw button byte and an optional group-mode address tag.
#pragma once

#include "protocol/decode_result.h"
#include "protocol/record_shape.h"

#include <vorn/vorn.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vorn::protocol {

inline constexpr uint8_t kRs232PhasingBit = 0x80;

// Packs one word into two bytes; its two lowest bits do not travel.
void packRs232Word(int16_t word, uint8_t* out);

// Rebuilds a word from two bytes: (b1 & 0x7F) << 9 | (b0 & 0x7F) << 2.
int16_t unpackRs232Word(const uint8_t* in);

// The phasing marks of the first `words` words as a strict reader checks them: the first byte
// of the first word carries the phasing bit, the first byte of every later word does not. The
// second byte of a word is not looked at; words beyond the bytes given are not either.
enum class Rs232Phasing : uint8_t { Good, FirstWordUnmarked, LaterWordMarked };
Rs232Phasing checkRs232WordPhasing(std::span<const uint8_t> bytes, std::size_t words);

// The group-mode address tag of a whole record; nullopt when the shape has none or the record
// is short.
std::optional<uint8_t> rs232RecordTag(std::span<const uint8_t> bytes, const RecordShape& shape);

// Writes the record of `reading` into `out`; returns the bytes written, or 0 when `out`
// is too small or the format is invalid.
std::size_t encodeRs232Record(const VornReading& reading, const RecordShape& shape, std::span<uint8_t> out);

// Decodes one record into `reading` (zeroed first). A missing phasing bit is reported
// as soon as the first byte is there, so a reader can resynchronise early; bit 7 set in
// any later byte of the words is a phasing fault too (the button and tag bytes are
// taken as they are).
DecodeResult decodeRs232Record(std::span<const uint8_t> bytes, const RecordShape& shape, VornReading& reading);

} // namespace vorn::protocol
