#include "protocol/isa_record.h"

#include "protocol/data_format.h"
#include "protocol/reading_words.h"
#include "protocol/word_codec.h"

#include <array>

namespace vorn::protocol {

std::size_t encodeIsaRecord(const VornReading& reading, const RecordShape& shape, std::span<uint8_t> out)
{
    const std::size_t length = recordLength(Connection::Isa, shape);
    if (!isValidDataFormat(shape.dataFormat) || out.size() < length) {
        return 0;
    }
    std::array<int16_t, kMaxRecordWords> words {};
    const std::size_t count = wordsOfReading(shape.dataFormat, reading, words);
    if (count > 0) {
        words[0] = static_cast<int16_t>(static_cast<uint16_t>(words[0]) | kIsaPhasingFlag);
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i, at += 2) {
        putBigEndian16(static_cast<uint16_t>(words[i]), &out[at]);
    }
    if (shape.button) {
        putBigEndian16(reading.button, &out[at]);
        at += 2;
    }
    if (shape.tag) {
        putBigEndian16(static_cast<uint16_t>(shape.address << 8), &out[at]);
        at += 2;
    }
    return at;
}

DecodeResult decodeIsaRecord(std::span<const uint8_t> bytes, const RecordShape& shape, VornReading& reading)
{
    if (!isValidDataFormat(shape.dataFormat)) {
        return DecodeResult::invalid(DecodeFault::BadDataFormat);
    }
    const auto count = static_cast<std::size_t>(wordsForDataFormat(shape.dataFormat));
    if (count > 0 && bytes.size() >= 2 && (bytes[1] & kIsaPhasingFlag) == 0) {
        return DecodeResult::invalid(DecodeFault::PhasingBit);
    }
    const std::size_t length = recordLength(Connection::Isa, shape);
    if (bytes.size() < length) {
        return DecodeResult::needMore(length);
    }
    if (shape.tag && shape.checkTag && bytes[length - 2] != shape.address) {
        return DecodeResult::invalid(DecodeFault::WrongTag);
    }
    std::array<int16_t, kMaxRecordWords> words {};
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i, at += 2) {
        words[i] = static_cast<int16_t>(readBigEndian16(&bytes[at]));
    }
    reading = VornReading {};
    placeWordsInReading(shape.dataFormat, std::span(words.data(), count), reading);
    if (shape.button) {
        reading.button = readBigEndian16(&bytes[at]);
    }
    return DecodeResult::valid(length);
}

} // namespace vorn::protocol
