#include "protocol/tcpip_record.h"

#include "protocol/data_format.h"
#include "protocol/reading_words.h"
#include "protocol/record_shape.h"
#include "protocol/word_codec.h"

#include <array>

namespace vorn::protocol {

namespace {
constexpr std::size_t kRecordHeaderBytes = 2;
}

std::size_t tcpipRecordLength(uint8_t dataFormat, bool button)
{
    return recordLength(Connection::Tcpip, RecordShape {.dataFormat = dataFormat, .button = button});
}

std::size_t encodeTcpipRecord(const TcpipRecord& record, std::span<uint8_t> out)
{
    const std::size_t length = tcpipRecordLength(record.dataFormat, record.button);
    if (record.address > kTcpipLastAddress || !isValidDataFormat(record.dataFormat) || out.size() < length) {
        return 0;
    }
    out[0] = static_cast<uint8_t>(record.address | (record.button ? kTcpipButtonFlag : 0));
    out[1] = static_cast<uint8_t>(record.dataFormat << 4);
    std::array<int16_t, kMaxRecordWords> words {};
    const std::size_t count = wordsOfReading(record.dataFormat, record.reading, words);
    std::size_t at = kRecordHeaderBytes;
    for (std::size_t i = 0; i < count; ++i, at += 2) {
        putBigEndian16(static_cast<uint16_t>(words[i]), &out[at]);
    }
    if (record.button) {
        putBigEndian16(record.reading.button, &out[at]);
        at += 2;
    }
    return at;
}

DecodeResult decodeTcpipRecord(std::span<const uint8_t> bytes, TcpipRecord& record)
{
    if (bytes.empty()) {
        return DecodeResult::needMore(kRecordHeaderBytes);
    }
    const uint8_t address = bytes[0] & 0x7F;
    if (address > kTcpipLastAddress) {
        return DecodeResult::invalid(DecodeFault::BadAddress);
    }
    if (bytes.size() < kRecordHeaderBytes) {
        return DecodeResult::needMore(kRecordHeaderBytes);
    }
    const auto dataFormat = static_cast<uint8_t>(bytes[1] >> 4);
    if (!isValidDataFormat(dataFormat)) {
        return DecodeResult::invalid(DecodeFault::BadDataFormat);
    }
    const bool button = (bytes[0] & kTcpipButtonFlag) != 0;
    const std::size_t length = tcpipRecordLength(dataFormat, button);
    if (bytes.size() < length) {
        return DecodeResult::needMore(length);
    }
    std::array<int16_t, kMaxRecordWords> words {};
    const auto count = static_cast<std::size_t>(wordsForDataFormat(dataFormat));
    std::size_t at = kRecordHeaderBytes;
    for (std::size_t i = 0; i < count; ++i, at += 2) {
        words[i] = static_cast<int16_t>(readBigEndian16(&bytes[at]));
    }
    record.address = address;
    record.dataFormat = dataFormat;
    record.button = button;
    record.reading = VornReading {};
    placeWordsInReading(dataFormat, std::span(words.data(), count), record.reading);
    if (button) {
        record.reading.button = readBigEndian16(&bytes[at]);
    }
    return DecodeResult::valid(length);
}

} // namespace vorn::protocol
