#include "protocol/rs232_record.h"

#include "protocol/data_format.h"
#include "protocol/reading_words.h"

#include <array>

namespace vorn::protocol {

void packRs232Word(int16_t word, uint8_t* out)
{
    const auto bits = static_cast<uint16_t>(word);
    out[0] = static_cast<uint8_t>((bits >> 2) & 0x7F);
    out[1] = static_cast<uint8_t>((bits >> 9) & 0x7F);
}

int16_t unpackRs232Word(const uint8_t* in)
{
    const auto bits = static_cast<uint16_t>(((in[1] & 0x7F) << 9) | ((in[0] & 0x7F) << 2));
    return static_cast<int16_t>(bits);
}

Rs232Phasing checkRs232WordPhasing(std::span<const uint8_t> bytes, std::size_t words)
{
    for (std::size_t i = 0; i < words && 2 * i < bytes.size(); ++i) {
        const bool marked = (bytes[2 * i] & kRs232PhasingBit) != 0;
        if (i == 0 && !marked) {
            return Rs232Phasing::FirstWordUnmarked;
        }
        if (i > 0 && marked) {
            return Rs232Phasing::LaterWordMarked;
        }
    }
    return Rs232Phasing::Good;
}

std::optional<uint8_t> rs232RecordTag(std::span<const uint8_t> bytes, const RecordShape& shape)
{
    const std::size_t length = recordLength(Connection::Rs232, shape);
    if (!shape.tag || bytes.size() < length) {
        return std::nullopt;
    }
    return bytes[length - 1];
}

namespace {

// Only a record's first byte carries bit 7. A byte dropped or repeated inside a
// record shifts the next record's first byte, or a repeated first byte, into
// the words, where this catches it; a checksum-free record cannot show more.
bool wordBytesInPhase(std::span<const uint8_t> wordBytes)
{
    for (std::size_t at = 1; at < wordBytes.size(); ++at) {
        if ((wordBytes[at] & kRs232PhasingBit) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

std::size_t encodeRs232Record(const VornReading& reading, const RecordShape& shape, std::span<uint8_t> out)
{
    const std::size_t length = recordLength(Connection::Rs232, shape);
    if (!isValidDataFormat(shape.dataFormat) || out.size() < length) {
        return 0;
    }
    std::array<int16_t, kMaxRecordWords> words {};
    const std::size_t count = wordsOfReading(shape.dataFormat, reading, words);
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i, at += 2) {
        packRs232Word(words[i], &out[at]);
    }
    if (count > 0) {
        out[0] |= kRs232PhasingBit;
    }
    if (shape.button) {
        out[at++] = static_cast<uint8_t>(reading.button);
    }
    if (shape.tag) {
        out[at++] = shape.address;
    }
    return at;
}

DecodeResult decodeRs232Record(std::span<const uint8_t> bytes, const RecordShape& shape, VornReading& reading)
{
    if (!isValidDataFormat(shape.dataFormat)) {
        return DecodeResult::invalid(DecodeFault::BadDataFormat);
    }
    const auto count = static_cast<std::size_t>(wordsForDataFormat(shape.dataFormat));
    if (count > 0 && !bytes.empty() && (bytes[0] & kRs232PhasingBit) == 0) {
        return DecodeResult::invalid(DecodeFault::PhasingBit);
    }
    const std::size_t length = recordLength(Connection::Rs232, shape);
    if (bytes.size() < length) {
        return DecodeResult::needMore(length);
    }
    if (!wordBytesInPhase(bytes.first(2 * count))) {
        return DecodeResult::invalid(DecodeFault::PhasingBit);
    }
    std::array<int16_t, kMaxRecordWords> words {};
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i, at += 2) {
        words[i] = unpackRs232Word(&bytes[at]);
    }
    if (shape.checkTag && rs232RecordTag(bytes, shape).value_or(shape.address) != shape.address) {
        return DecodeResult::invalid(DecodeFault::WrongTag);
    }
    reading = VornReading {};
    placeWordsInReading(shape.dataFormat, std::span(words.data(), count), reading);
    if (shape.button) {
        reading.button = bytes[at];
    }
    return DecodeResult::valid(length);
}

} // namespace vorn::protocol
