// Pose maths, record decoding with its phasing tests, prefixes and firmware address tables.
#include <gtest/gtest.h>

#include <cmath>

#include "vorn/humgather/firmware_addresses.h"
#include "vorn/humgather/pose_math.h"
#include "vorn/humgather/position_record.h"
#include "vorn/humgather/position_screen.h"

namespace vorn::humgather {
namespace {

TEST(HumgatherPoseMath, AnglesSurviveTheMatrixRoundTrip)
{
    for (const Angles& a : {Angles {0, 0, 0}, Angles {90, -45, 180}, Angles {-120, 30, -60}, Angles {179, 80, 10},
                            Angles {45, -85, 100}}) {
        const Angles back = anglesOfMatrix(matrixOfAngles(a), {});
        EXPECT_NEAR(back.azimuth, a.azimuth, 1e-6) << a.azimuth << " " << a.elevation << " " << a.roll;
        EXPECT_NEAR(back.elevation, a.elevation, 1e-6);
        EXPECT_NEAR(std::remainder(back.roll - a.roll, 360.0), 0, 1e-6);
    }
}

TEST(HumgatherPoseMath, StraightUpKeepsThePreviousAzimuthAndRoll)
{
    const Angles previous {12, 0, 34};
    Matrix3 up {};
    up[0][2] = -1; // elevation +90: c = 0
    const Angles a = anglesOfMatrix(up, previous);
    EXPECT_DOUBLE_EQ(a.elevation, 90);
    EXPECT_DOUBLE_EQ(a.azimuth, 12);
    EXPECT_DOUBLE_EQ(a.roll, 34);
}

TEST(HumgatherPoseMath, RelativePose)
{
    const RelativePose same = relativePose({1, 2, 3}, {30, 20, 10}, {1, 2, 3}, {30, 20, 10});
    EXPECT_NEAR(same.distance, 0, 1e-12);
    for (double v : same.position)
        EXPECT_NEAR(v, 0, 1e-12);
    EXPECT_NEAR(same.angles.azimuth, 0, 1e-9);
    EXPECT_NEAR(same.angles.elevation, 0, 1e-9);
    EXPECT_NEAR(same.angles.roll, 0, 1e-9);

    // Sensor 1 turned 90 degrees in azimuth: a point 1 inch along y lies along its x axis.
    const RelativePose turned = relativePose({0, 0, 0}, {90, 0, 0}, {0, 1, 0}, {90, 0, 0});
    EXPECT_NEAR(turned.distance, 1, 1e-12);
    EXPECT_NEAR(turned.position[0], 1, 1e-12);
    EXPECT_NEAR(turned.position[1], 0, 1e-12);

    // Turned over in elevation: the relative matrix holds -0 beside -1, and the display shows
    // 180, never -180.
    const RelativePose over = relativePose({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 180, 0});
    EXPECT_EQ(over.angles.azimuth, 180.0);
    EXPECT_EQ(over.angles.roll, 180.0);
}

TEST(HumgatherPositionRecord, WordsPhasingExtraByteAndAddress)
{
    std::array<std::uint8_t, 14> bytes {0x81, 0x40, 0, 0, 0x7F, 0x3F, 0, 0x40, 0, 0, 0, 0, 0xC8, 5};
    EXPECT_EQ(checkPhasing(bytes), PhasingFault::None);
    const PositionRecord r = decodeRecord(bytes, 1, true);
    EXPECT_EQ(r.words[0], -32764);
    EXPECT_EQ(r.words[2], 32764);
    EXPECT_EQ(r.words[3], -32768);
    EXPECT_EQ(r.extra, 0xC8);
    EXPECT_EQ(r.address, 5);

    bytes[0] = 0x01;
    EXPECT_EQ(checkPhasing(bytes), PhasingFault::FirstWord);
    bytes[0] = 0x81;
    bytes[1] = 0xC0; // a second byte's bit 7 is not tested
    EXPECT_EQ(checkPhasing(bytes), PhasingFault::None);
    bytes[10] = 0x80;
    EXPECT_EQ(checkPhasing(bytes), PhasingFault::LaterWord);
    EXPECT_EQ(recordLength(0, false), 12u);
    EXPECT_EQ(recordLength(1, true), 14u);
}

TEST(HumgatherPositionRecord, Prefixes)
{
    EXPECT_FALSE(humgatherPrefix(false, false, 5));
    EXPECT_FALSE(humgatherPrefix(true, false, 0));
    EXPECT_EQ(humgatherPrefix(true, false, 5), 0xF5);
    EXPECT_EQ(humgatherPrefix(true, true, 5), 0xF5);
    EXPECT_EQ(humgatherPrefix(true, true, 20), 0xE4);
}

TEST(HumgatherPositionRecord, PrefixesNeverWrapPastWhatTheAddressingNames)
{
    EXPECT_EQ(humgatherPrefix(true, false, 15), 0xFF);
    EXPECT_FALSE(humgatherPrefix(true, false, 16)); // 0xF0 + 16 would wrap to 0x00
    EXPECT_EQ(humgatherPrefix(true, true, 30), 0xEE);
    EXPECT_FALSE(humgatherPrefix(true, true, 31));
    EXPECT_FALSE(humgatherPrefix(true, true, -1));
}

TEST(HumgatherFirmwareAddresses, TableByRevision)
{
    struct Case {
        float revision;
        AddressSource source;
        std::uint16_t mux;
    };
    for (const Case& c : {Case {2.0f, AddressSource::FixedTable, 0x207}, Case {2.6f, AddressSource::FixedTable, 0x207},
                          Case {2.65f, AddressSource::None, 0}, Case {2.7f, AddressSource::FixedTable, 0x22B},
                          Case {3.0f, AddressSource::FixedTable, 0x1B4}, Case {3.17f, AddressSource::FixedTable, 0x1B4},
                          Case {3.18f, AddressSource::AskUnit, 0}, Case {3.67f, AddressSource::AskUnit, 0}}) {
        const AddressChoice choice = chooseFirmwareAddresses(c.revision);
        EXPECT_EQ(choice.source, c.source) << c.revision;
        EXPECT_EQ(choice.fixed.receiverMux, c.mux) << c.revision;
    }
    std::array<std::uint16_t, kVariableTableEntries> table {};
    for (std::size_t k = 0; k < table.size(); ++k)
        table[k] = static_cast<std::uint16_t>(0x100 + k);
    const FirmwareAddresses unit = addressesFromUnitTable(table);
    EXPECT_EQ(unit.receiverMux, 0x105);
    EXPECT_EQ(unit.promDateBase, 0x10E);
    EXPECT_EQ(unit.alphaValue, 0x111);
}

TEST(HumgatherPositionScreen, EveryVornsetCountFitsTheScreen)
{
    // Rows 11-13 hold sensor 2's distance and relative pose, 22-23 the phasing errors.
    for (int i = 1; i <= kMostVornsetsToRead; ++i) {
        const int row = plainRow(i);
        EXPECT_TRUE(row >= 3 && row <= 21 && (row < 11 || row > 13)) << "vornset " << i << " at row " << row;
        const int first = statisticsRow(i);
        EXPECT_TRUE(first >= 3 && first + 4 <= 21 && (first > kStatisticsHeaderRow || first + 4 < kStatisticsHeaderRow))
            << "vornset " << i << " from row " << first;
    }
    EXPECT_EQ(plainRow(3), 9);
    EXPECT_EQ(plainRow(4), 15);
    EXPECT_FALSE(opensStatisticsPage(1, 3));
    EXPECT_TRUE(opensStatisticsPage(1, 4));
    EXPECT_TRUE(opensStatisticsPage(4, 4));
    EXPECT_FALSE(opensStatisticsPage(5, 6));
}

} // namespace
} // namespace vorn::humgather
