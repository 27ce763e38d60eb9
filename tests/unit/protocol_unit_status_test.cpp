// What the library derives from the unit status word and the unit status bytes.
#include "protocol/unit_status.h"

#include <gtest/gtest.h>

namespace vp = vorn::protocol;
namespace sw = vp::status_word;

TEST(UnitStatusByte, ExtendedRangeTransmittersAndCounts)
{
    struct Case {
        uint8_t byte;
        bool extended;
        bool transmitter;
        bool standard;
        uint8_t count;
        uint8_t ertNumber;
    };
    const Case cases[] = {
        {0x61, false, true, true, 1, 0},                                      // stand-alone: standard transmitter
        {0xE0, false, false, false, 0, 0},                                    // sensor, no transmitter
        {0xF1, true, true, false, 1, 0},                                      // bits 0 and 4: extended range, ERT0
        {0xE2, true, true, false, 1, 1},                                      // bit 1 alone marks extended range
        {0xFF, true, true, false, 4, 3},   {0x10, false, false, false, 0, 0}, // bit 4 without a transmitter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vp::isExtendedRangeUnit(c.byte), c.extended) << std::hex << int(c.byte);
        EXPECT_EQ(vp::hasTransmitter(c.byte), c.transmitter) << std::hex << int(c.byte);
        EXPECT_EQ(vp::hasStandardRangeTransmitter(c.byte), c.standard) << std::hex << int(c.byte);
        EXPECT_EQ(vp::transmitterCount(c.byte), c.count) << std::hex << int(c.byte);
        EXPECT_EQ(vp::extendedRangeTransmitterNumber(c.byte), c.ertNumber) << std::hex << int(c.byte);
    }
}

TEST(StatusWord, FormatBitsAndSystemStatus)
{
    const uint16_t word = sw::kMaster | sw::kRunning | sw::kError | sw::kCrtSync | (8 << 1) | sw::kStream;
    EXPECT_EQ(vp::dataFormatOfStatusWord(word), 8);
    EXPECT_EQ(vp::dataFormatOfStatusWord(vp::statusWordWithDataFormat(word, 3)), 3);
    EXPECT_EQ(vp::statusWordWithDataFormat(word, 3) & ~sw::kFormatMask, word & ~sw::kFormatMask);
    EXPECT_EQ(vp::systemStatusOfStatusWord(word, 0x3E), 0xC3); // keeps only the stored sync-type bit
    EXPECT_EQ(vp::systemStatusOfStatusWord(0, 0xFD), 0x00);
}

TEST(DeviceStatus, DrivesTheActiveTransmitterOnlyWhenRunningWithOne)
{
    const uint16_t running = sw::kRunning;
    EXPECT_EQ(vp::deviceStatusOf(running, 0xE1, 2, 0x21), 0x47);
    EXPECT_EQ(vp::deviceStatusOf(running, 0xE1, 1, 0x21), 0x46);              // another unit drives it
    EXPECT_EQ(vp::deviceStatusOf(0, 0xE1, 2, 0x21), 0x06);                    // not running
    EXPECT_EQ(vp::deviceStatusOf(running | sw::kError, 0xE0, 2, 0x20), 0xC4); // no transmitter
}

TEST(TransmitterType, CombinesRangeDriveAndCount)
{
    EXPECT_EQ(vp::transmitterTypeOf(0x61, false, 0x47, 0x21), 0x40 | (5 << 2) | 1);
    EXPECT_EQ(vp::transmitterTypeOf(0xF1, true, 0x46, 0x21), 0x80 | 1);
    EXPECT_EQ(vp::transmitterTypeOf(0xFF, true, 0x47, 0x13), 0x80 | (7 << 2) | 4);
    EXPECT_EQ(vp::transmitterTypeOf(0xEF, true, 0x46, 0x13), 0x80 | 0x40 | 4); // bit 0 without bit 4
}
