// Data record codecs of the three links: byte examples, lengths, round trips, faults.
#include "protocol/data_format.h"
#include "protocol/isa_record.h"
#include "protocol/reading_words.h"
#include "protocol/record_shape.h"
#include "protocol/rs232_record.h"
#include "protocol/tcpip_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace vp = vorn::protocol;
using vp::Connection;
using vp::DecodeFault;
using vp::DecodeStatus;
using vp::RecordShape;

namespace {

constexpr std::array<uint8_t, 8> kValidFormats = {0, 1, 2, 3, 4, 5, 7, 8};

// A reading with distinct values in every field; low two bits clear so RS232 keeps them.
VornReading sampleReading(uint8_t dataFormat)
{
    VornReading full {};
    int16_t v = -32764;
    for (auto& x : full.position)
        x = static_cast<int16_t>(v += 4092);
    for (auto& x : full.angles)
        x = static_cast<int16_t>(v += 1236);
    for (auto& x : full.matrix)
        x = static_cast<int16_t>(v -= 3000);
    for (auto& x : full.quaternion)
        x = static_cast<int16_t>(v += 7004);
    // Keep only what the format carries, as a decoder would leave it.
    std::array<int16_t, vp::kMaxRecordWords> words {};
    VornReading reading {};
    const auto n = vp::wordsOfReading(dataFormat, full, words);
    vp::placeWordsInReading(dataFormat, std::span(words.data(), n), reading);
    reading.button = 0xA5;
    return reading;
}

bool sameReading(const VornReading& a, const VornReading& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(Rs232Record, UnpacksSevenBitPairsIntoWord)
{
    const uint8_t bytes[] = {0x81, 0x40};
    EXPECT_EQ(vp::unpackRs232Word(bytes), -32764);
    uint8_t packed[2];
    vp::packRs232Word(-32764, packed);
    EXPECT_EQ(packed[0], 0x01); // the phasing bit is the record's, not the word's
    EXPECT_EQ(packed[1], 0x40);
}

TEST(Rs232Record, PacksPositionWithPhasingBitOnFirstByteOnly)
{
    VornReading reading {};
    reading.position[0] = static_cast<int16_t>(0x8004);
    reading.position[1] = 0x7FFC;
    reading.position[2] = 0;
    std::array<uint8_t, 8> out {};
    ASSERT_EQ(vp::encodeRs232Record(reading, {.dataFormat = 1}, out), 6u);
    const std::array<uint8_t, 6> expected = {0x81, 0x40, 0x7F, 0x3F, 0x00, 0x00};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin()));
}

TEST(RecordLength, CountsWordsButtonAndTagPerLink)
{
    struct Case {
        Connection link;
        uint8_t format;
        bool button;
        bool tag;
        std::size_t bytes;
    };
    const Case cases[] = {
        {Connection::Rs232, 8, true, true, 16}, // position/quaternion + button + tag
        {Connection::Rs232, 8, true, false, 15}, {Connection::Rs232, 5, false, false, 24},
        {Connection::Rs232, 3, false, true, 19}, {Connection::Rs232, 0, false, true, 1},
        {Connection::Isa, 8, true, true, 18},    {Connection::Isa, 1, false, false, 6},
        {Connection::Isa, 7, false, true, 10},   {Connection::Tcpip, 5, true, false, 28},
        {Connection::Tcpip, 2, false, false, 8}, {Connection::Tcpip, 0, false, false, 2},
        {Connection::Rs232, 6, false, false, 0}, // refused format carries nothing
    };
    for (const auto& c : cases) {
        const RecordShape shape {.dataFormat = c.format, .button = c.button, .tag = c.tag};
        EXPECT_EQ(vp::recordLength(c.link, shape), c.bytes)
            << "link " << int(c.link) << " format " << int(c.format) << " button " << c.button << " tag " << c.tag;
    }
}

// Encoding then decoding returns the same reading, for every format, button and tag.
TEST(RecordRoundTrip, SerialAndIsaEveryShape)
{
    using Encode = std::size_t (*)(const VornReading&, const RecordShape&, std::span<uint8_t>);
    using Decode = vp::DecodeResult (*)(std::span<const uint8_t>, const RecordShape&, VornReading&);
    struct Link {
        Connection connection;
        Encode encode;
        Decode decode;
    };
    const Link links[] = {{Connection::Rs232, vp::encodeRs232Record, vp::decodeRs232Record},
                          {Connection::Isa, vp::encodeIsaRecord, vp::decodeIsaRecord}};
    for (const auto& link : links) {
        for (uint8_t format : kValidFormats) {
            for (bool button : {false, true}) {
                for (bool tag : {false, true}) {
                    const RecordShape shape {format, button, tag, true, 7};
                    VornReading reading = sampleReading(format);
                    if (!button)
                        reading.button = 0;
                    if (link.connection == Connection::Isa && format != 0) {
                        // The phasing flag travels inside the first word.
                        int16_t* first = format == 2   ? reading.angles
                                         : format == 3 ? reading.matrix
                                         : format == 7 ? reading.quaternion
                                                       : reading.position;
                        first[0] = static_cast<int16_t>(first[0] | 1);
                    }
                    std::array<uint8_t, vp::kMaxRecordBytes> bytes {};
                    const auto length = link.encode(reading, shape, bytes);
                    ASSERT_EQ(length, vp::recordLength(link.connection, shape));
                    VornReading decoded {};
                    decoded.button = 0xFFFF; // the decoder must zero what the record lacks
                    const auto result = link.decode(std::span(bytes.data(), length), shape, decoded);
                    ASSERT_EQ(result.status, DecodeStatus::Valid) << int(format);
                    EXPECT_EQ(result.length, length);
                    EXPECT_TRUE(sameReading(decoded, reading)) << "format " << int(format) << " button " << button;
                    if (length > 1) {
                        const auto shortResult = link.decode(std::span(bytes.data(), length - 1), shape, decoded);
                        EXPECT_EQ(shortResult.status, DecodeStatus::NeedMore);
                        EXPECT_EQ(shortResult.length, length);
                    }
                }
            }
        }
    }
}

TEST(RecordRoundTrip, TcpipEveryFormatAndButton)
{
    for (uint8_t format : kValidFormats) {
        for (bool button : {false, true}) {
            vp::TcpipRecord record {
                .address = 120, .dataFormat = format, .button = button, .reading = sampleReading(format)};
            if (!button)
                record.reading.button = 0;
            std::array<uint8_t, vp::kMaxRecordBytes> bytes {};
            const auto length = vp::encodeTcpipRecord(record, bytes);
            ASSERT_EQ(length, vp::tcpipRecordLength(format, button));
            vp::TcpipRecord decoded {};
            const auto result = vp::decodeTcpipRecord(std::span(bytes.data(), length), decoded);
            ASSERT_TRUE(result.ok());
            EXPECT_EQ(decoded.address, 120);
            EXPECT_EQ(decoded.dataFormat, format);
            EXPECT_EQ(decoded.button, button);
            EXPECT_TRUE(sameReading(decoded.reading, record.reading));
        }
    }
}

TEST(Rs232Record, Bit7BelongsToTheFirstByteAlone)
{
    const RecordShape shape {.dataFormat = 1, .button = true};
    VornReading reading {};
    const uint8_t noPhasing[] = {0x01};
    EXPECT_EQ(vp::decodeRs232Record(noPhasing, shape, reading).fault, DecodeFault::PhasingBit);
    // A repeated first byte, or the next record's first byte moved in by a lost one.
    const uint8_t repeatedFirst[] = {0x81, 0x81, 0x40, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(vp::decodeRs232Record(repeatedFirst, shape, reading).fault, DecodeFault::PhasingBit);
    const uint8_t nextRecordInside[] = {0x81, 0x40, 0x00, 0x00, 0x00, 0x80, 0x00};
    EXPECT_EQ(vp::decodeRs232Record(nextRecordInside, shape, reading).fault, DecodeFault::PhasingBit);
    const uint8_t buttonHasBit7[] = {0x81, 0x40, 0x00, 0x00, 0x00, 0x00, 0xC0};
    const auto result = vp::decodeRs232Record(buttonHasBit7, shape, reading);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(reading.position[0], -32764);
    EXPECT_EQ(reading.button, 0xC0);
}

TEST(Rs232Record, ButtonByteIsTakenRawAndTagIsChecked)
{
    const uint8_t bytes[] = {0x80, 0, 0, 0, 0, 0, 0xFF, 3};
    VornReading reading {};
    RecordShape shape {.dataFormat = 2, .button = true, .tag = true, .checkTag = true, .address = 3};
    ASSERT_TRUE(vp::decodeRs232Record(bytes, shape, reading).ok());
    EXPECT_EQ(reading.button, 255);
    shape.address = 2;
    EXPECT_EQ(vp::decodeRs232Record(bytes, shape, reading).fault, DecodeFault::WrongTag);
    shape.checkTag = false; // an older master's own tag is read but not checked
    EXPECT_TRUE(vp::decodeRs232Record(bytes, shape, reading).ok());
}

TEST(Rs232Record, StrictPhasingNamesTheWordAtFaultAndTagIsTheLastByte)
{
    // Word 1's first byte must carry bit 7, later words' first bytes must not; second bytes
    // and words beyond those given are not looked at.
    const uint8_t good[] = {0x80, 0xFF, 0x00, 0x80, 0x7F, 0x00};
    EXPECT_EQ(vp::checkRs232WordPhasing(good, 3), vp::Rs232Phasing::Good);
    const uint8_t firstClear[] = {0x00, 0x00, 0x80, 0x00};
    EXPECT_EQ(vp::checkRs232WordPhasing(firstClear, 2), vp::Rs232Phasing::FirstWordUnmarked);
    const uint8_t laterMarked[] = {0x80, 0x00, 0x00, 0x00, 0x81, 0x00};
    EXPECT_EQ(vp::checkRs232WordPhasing(laterMarked, 3), vp::Rs232Phasing::LaterWordMarked);
    EXPECT_EQ(vp::checkRs232WordPhasing(laterMarked, 2), vp::Rs232Phasing::Good);
    EXPECT_EQ(vp::checkRs232WordPhasing({}, 6), vp::Rs232Phasing::Good);

    const uint8_t tagged[] = {0x80, 0, 0, 0, 0, 0, 0xFF, 7};
    const RecordShape shape {.dataFormat = 1, .button = true, .tag = true};
    EXPECT_EQ(vp::rs232RecordTag(tagged, shape), 7);
    EXPECT_FALSE(vp::rs232RecordTag(std::span(tagged, 7), shape)); // short
    EXPECT_FALSE(vp::rs232RecordTag(tagged, RecordShape {.dataFormat = 1, .button = true}));
}

TEST(IsaRecord, PhasingFlagIsBitZeroOfFirstLowByteAndTagIsFirstByteOfWord)
{
    VornReading reading {};
    RecordShape shape {.dataFormat = 1, .tag = true, .checkTag = true, .address = 5};
    const uint8_t noFlag[] = {0x12, 0x34};
    EXPECT_EQ(vp::decodeIsaRecord(noFlag, shape, reading).fault, DecodeFault::PhasingBit);
    const uint8_t good[] = {0x12, 0x35, 0xFF, 0xFE, 0x00, 0x04, 0x05, 0x00};
    ASSERT_TRUE(vp::decodeIsaRecord(good, shape, reading).ok());
    EXPECT_EQ(reading.position[0], 0x1235); // the flag stays in the word
    EXPECT_EQ(reading.position[1], -2);
    shape.address = 6;
    EXPECT_EQ(vp::decodeIsaRecord(good, shape, reading).fault, DecodeFault::WrongTag);
}

TEST(TcpipRecord, RejectsAddressAbove120AndBadFormats)
{
    vp::TcpipRecord record {};
    const uint8_t badAddress[] = {121};
    EXPECT_EQ(vp::decodeTcpipRecord(badAddress, record).fault, DecodeFault::BadAddress);
    const uint8_t buttonAddress[] = {0x80 | 120, 0x10};
    EXPECT_EQ(vp::decodeTcpipRecord(buttonAddress, record).status, DecodeStatus::NeedMore);
    for (uint8_t format : {6, 9, 15}) {
        const uint8_t bytes[] = {1, static_cast<uint8_t>(format << 4)};
        EXPECT_EQ(vp::decodeTcpipRecord(bytes, record).fault, DecodeFault::BadDataFormat) << int(format);
    }
    const uint8_t lowNibbleIgnored[] = {2, 0x0F};
    const auto result = vp::decodeTcpipRecord(lowNibbleIgnored, record);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.length, 2u);
    EXPECT_EQ(record.dataFormat, 0);
}

TEST(RecordCodecs, RefuseFormatSixAndShortBuffers)
{
    VornReading reading {};
    std::array<uint8_t, 4> small {};
    EXPECT_EQ(vp::encodeRs232Record(reading, {.dataFormat = 3}, small), 0u);
    EXPECT_EQ(vp::encodeIsaRecord(reading, {.dataFormat = 6}, small), 0u);
    const uint8_t any[] = {0x80, 0, 0, 0};
    EXPECT_EQ(vp::decodeRs232Record(any, {.dataFormat = 6}, reading).fault, DecodeFault::BadDataFormat);
    EXPECT_EQ(vp::decodeIsaRecord(any, {.dataFormat = 9}, reading).fault, DecodeFault::BadDataFormat);
    EXPECT_EQ(vp::encodeTcpipRecord({.address = 121, .dataFormat = 1}, small), 0u);
}
