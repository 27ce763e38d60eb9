// The payload of a controller data packet: records walked into a frame,
// and every way a payload can be unfit refused without reading past it.
#include "protocol/data_packet.h"
#include "protocol/tcpip_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace vp = vorn::protocol;

namespace {

std::vector<uint8_t> record(uint8_t address, uint8_t format, bool button, int16_t first)
{
    vp::TcpipRecord r;
    r.address = address;
    r.dataFormat = format;
    r.button = button;
    r.reading.position[0] = first;
    r.reading.quaternion[0] = first;
    r.reading.button = 0xBEEF;
    std::vector<uint8_t> bytes(32);
    bytes.resize(vp::encodeTcpipRecord(r, bytes));
    return bytes;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(DataPacketPayload, RecordsLandAtTheirAddresses)
{
    const auto payload = record(1, 8, true, 100) + record(120, 1, false, -7);
    VornFrame frame {};
    const auto result = vp::decodeDataPacketPayload(payload, frame);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 2u);
    EXPECT_EQ(frame.reading[1].position[0], 100);
    EXPECT_EQ(frame.reading[1].quaternion[0], 100);
    EXPECT_EQ(frame.reading[1].button, 0xBEEF);
    EXPECT_EQ(frame.reading[120].position[0], -7);
    EXPECT_EQ(frame.reading[120].button, 0);
    EXPECT_EQ(frame.reading[2].position[0], 0);
    EXPECT_TRUE(vp::decodeDataPacketPayload({}, frame).ok());
}

TEST(DataPacketPayload, UnfitPayloadsAreRefusedWithTheirFault)
{
    auto format6 = record(3, 1, false, 5);
    format6[1] = 0x60;
    auto format9 = record(4, 1, false, 5);
    format9[1] = 0x90;
    auto cut = record(1, 8, true, 1) + record(5, 8, true, 1);
    cut.pop_back();
    struct Case {
        const char* what;
        std::vector<uint8_t> payload;
        vp::DataPacketFault fault;
        uint8_t address;
        uint8_t format;
    } cases[] = {
        {"address 121", record(1, 1, false, 1) + std::vector<uint8_t> {121, 0x10, 0, 0, 0, 0, 0, 0},
         vp::DataPacketFault::BadAddress, 121, 0},
        {"format 6", format6, vp::DataPacketFault::BadDataFormat, 3, 6},
        {"format 9", format9, vp::DataPacketFault::BadDataFormat, 4, 9},
        {"last record cut short", cut, vp::DataPacketFault::Truncated, 5, 0},
        {"lone address byte", {7}, vp::DataPacketFault::Truncated, 7, 0},
        {"longer than 4096 bytes", std::vector<uint8_t>(4097, 0), vp::DataPacketFault::TooLong, 0, 0},
    };
    for (const Case& c : cases) {
        VornFrame frame {};
        const auto result = vp::decodeDataPacketPayload(c.payload, frame);
        EXPECT_EQ(result.fault, c.fault) << c.what;
        EXPECT_EQ(result.address, c.address) << c.what;
        if (c.fault == vp::DataPacketFault::BadDataFormat) {
            EXPECT_EQ(result.dataFormat, c.format) << c.what;
        }
    }
}
