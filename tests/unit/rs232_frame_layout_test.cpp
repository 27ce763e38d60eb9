// What the library expects the units to send in a frame, and how it reads
// it back: record lengths, tags, phase and tag errors.
#include "frames/group_frame_decoder.h"
#include "frames/record_layout.h"
#include "protocol/rs232_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorn {
namespace {

constexpr uint8_t kSensor = 0x04;
constexpr uint8_t kButton = 0x08;

// A vornset of `units` units on RS232, every unit with a sensor in `format`.
VornGroup vornset(int units, uint8_t format, uint16_t masterRevision = 0x0343, bool groupMode = true)
{
    VornGroup group(1);
    group.mode = ConnectionMode::Rs232;
    group.systemConfig.numberOfUnits = static_cast<uint8_t>(units);
    group.systemConfig.softwareRevision = masterRevision;
    group.groupModeActive = groupMode;
    for (int unit = 1; unit <= units; ++unit) {
        group.deviceConfig[unit].status = kSensor;
        group.deviceConfig[unit].dataFormat = format;
    }
    return group;
}

// What the units send: each unit's record as the simulator encodes it.
std::vector<uint8_t> wireFrame(const VornGroup& group, const VornFrame& frame)
{
    std::vector<uint8_t> bytes;
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit) {
        if (!deliversRecord(group, unit))
            continue;
        uint8_t record[protocol::kMaxRecordBytes];
        const std::size_t n = protocol::encodeRs232Record(frame.reading[unit], recordShapeOf(group, unit), record);
        bytes.insert(bytes.end(), record, record + n);
    }
    return bytes;
}

TEST(Rs232FrameLayout, RecordLengthsFollowFormatButtonAndTag)
{
    struct Case {
        uint8_t format;
        bool button;
        bool groupMode;
        std::size_t length;
    };
    const Case cases[] = {
        {1, false, false, 6},  {2, false, false, 6}, {3, false, false, 18}, {4, false, false, 12},
        {5, false, false, 24}, {7, false, false, 8}, {8, false, false, 14}, {8, true, true, 16},
        {0, false, true, 1},   {6, false, false, 0}, {9, true, false, 1},   {4, true, false, 13},
    };
    for (const Case& c : cases) {
        VornGroup group = vornset(2, c.format, 0x0343, c.groupMode);
        if (c.button)
            group.deviceConfig[2].setup = kButton;
        EXPECT_EQ(expectedRecordLength(group, 2), c.length) << int(c.format);
    }
}

TEST(Rs232FrameLayout, UnitsWithoutSensorSendNothing)
{
    VornGroup group = vornset(3, 4);
    group.deviceConfig[2].status = 0;
    EXPECT_EQ(expectedRecordLength(group, 2), 0u);
    EXPECT_EQ(expectedFrameLength(group), 13u + 13u);
    EXPECT_EQ(lastActiveUnit(group), 3);
    group.deviceConfig[3].status = 0;
    EXPECT_EQ(lastActiveUnit(group), 1);
}

// A master before 3.64 sends no tag after its own record; counting one
// would make every group frame from it time out or misalign.
TEST(Rs232FrameLayout, MasterBefore364SendsNoTagAndNoneIsExpected)
{
    for (uint16_t revision : {0x033F, 0x0340}) {
        VornGroup group = vornset(3, 1, revision);
        const bool masterTags = revision >= 0x0340;
        EXPECT_EQ(expectedRecordLength(group, 1), masterTags ? 7u : 6u);
        EXPECT_EQ(expectedRecordLength(group, 2), 7u);
        EXPECT_EQ(expectedFrameLength(group), masterTags ? 21u : 20u);

        VornFrame sent {};
        for (int unit = 1; unit <= 3; ++unit)
            sent.reading[unit].position[0] = static_cast<int16_t>(unit * 400);
        const auto bytes = wireFrame(group, sent);
        ASSERT_EQ(bytes.size(), expectedFrameLength(group));
        VornFrame decoded {};
        EXPECT_TRUE(decodeGroupFrame(group, bytes, decoded).ok()) << std::hex << revision;
        EXPECT_EQ(decoded.reading[3].position[0], 1200);
    }
}

TEST(Rs232FrameLayout, DecodesEveryUnitInAddressOrderAndLeavesOthersZero)
{
    VornGroup group = vornset(3, 8);
    group.deviceConfig[2].status = 0; // no sensor: no bytes, zero reading
    group.deviceConfig[3].setup = kButton;
    VornFrame sent {};
    sent.reading[1].position[2] = -32764;
    sent.reading[1].quaternion[3] = 16384;
    sent.reading[3].quaternion[0] = 8188;
    sent.reading[3].button = 0xA5;
    const auto bytes = wireFrame(group, sent);
    VornFrame decoded {};
    ASSERT_TRUE(decodeGroupFrame(group, bytes, decoded).ok());
    EXPECT_EQ(decoded.reading[1].position[2], -32764);
    EXPECT_EQ(decoded.reading[1].quaternion[3], 16384);
    EXPECT_EQ(decoded.reading[3].quaternion[0], 8188);
    EXPECT_EQ(decoded.reading[3].button, 0xA5);
    for (int unit : {0, 2, 4, 126})
        EXPECT_EQ(decoded.reading[unit].position[0] | decoded.reading[unit].quaternion[0], 0) << unit;
}

TEST(Rs232FrameLayout, PhaseAndTagErrorsNameTheUnit)
{
    VornGroup group = vornset(3, 2);
    VornFrame sent {};
    auto bytes = wireFrame(group, sent);
    VornFrame decoded {};

    auto corrupted = bytes;
    corrupted[7] &= 0x7F; // unit 2's first byte
    auto result = decodeGroupFrame(group, corrupted, decoded);
    EXPECT_EQ(result.fault, protocol::DecodeFault::PhasingBit);
    EXPECT_EQ(result.unit, 2);

    corrupted = bytes;
    corrupted[20] = 9; // unit 3's tag
    result = decodeGroupFrame(group, corrupted, decoded);
    EXPECT_EQ(result.fault, protocol::DecodeFault::WrongTag);
    EXPECT_EQ(result.unit, 3);
    EXPECT_EQ(result.tag, 9);

    // Cut short: the unit whose record is missing counts as out of phase.
    result = decodeGroupFrame(group, std::span(bytes.data(), 10), decoded);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.unit, 2);
}

TEST(Rs232FrameLayout, StandAloneUnitHasNoTagsAndAnyPhasingByteStartsAFrame)
{
    VornGroup group(1);
    group.mode = ConnectionMode::Rs232;
    group.standAlone = true;
    group.systemConfig.numberOfUnits = 1;
    group.deviceConfig[0].status = kSensor;
    group.deviceConfig[0].dataFormat = 4;
    EXPECT_EQ(expectedFrameLength(group), 12u);
    EXPECT_EQ(lastActiveUnit(group), 0);
}

// Only a frame whose first record has words opens with the phasing bit, so
// only then may the byte after a stream's frame be judged by it.
TEST(Rs232FrameLayout, AFrameOpensWithThePhasingBitOnlyWhenItsFirstRecordHasWords)
{
    VornGroup group = vornset(2, 4);
    EXPECT_TRUE(framesOpenWithPhasingBit(group));
    group.deviceConfig[1].status = 0; // the master sends nothing: unit 2 opens the frame
    EXPECT_EQ(firstActiveUnit(group), 2);
    EXPECT_TRUE(framesOpenWithPhasingBit(group));
    group.deviceConfig[2].dataFormat = 0; // a button byte or a tag, no words
    group.deviceConfig[2].setup = kButton;
    EXPECT_FALSE(framesOpenWithPhasingBit(group));
    group.deviceConfig[2].status = 0;
    EXPECT_EQ(firstActiveUnit(group), -1);
    EXPECT_FALSE(framesOpenWithPhasingBit(group));
}

TEST(Rs232FrameLayout, ReadingsIgnoreThePhasingBit)
{
    VornGroup group = vornset(1, 2, 0x0343, false);
    const uint8_t bytes[] = {0x01, 0x40, 0x00, 0x00, 0x00, 0x00}; // phasing bit missing
    VornReading reading {};
    ASSERT_TRUE(decodeReadingRecord(group, 1, bytes, reading));
    EXPECT_EQ(reading.angles[0], static_cast<int16_t>(0x8004));
}

} // namespace
} // namespace vorn
