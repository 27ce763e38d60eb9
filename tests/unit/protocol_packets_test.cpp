// Networked controller packets: the header and the two status blocks.
#include "protocol/device_status_block.h"
#include "protocol/packet_header.h"
#include "protocol/system_status_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vp = vorn::protocol;

TEST(PacketHeader, BigEndianLayoutAndRoundTrip)
{
    const vp::PacketHeader header {.sequence = 0x0102,
                                   .milliseconds = 999,
                                   .seconds = 0x0A0B0C0D,
                                   .type = 101,
                                   .subtype = 7,
                                   .protocolVersion = 3,
                                   .errorCode = 4,
                                   .errorExtension = 0xBEEF,
                                   .dataLength = 136};
    const auto bytes = vp::encodePacketHeader(header);
    const std::array<uint8_t, 16> expected = {0x01, 0x02, 0x03, 0xE7, 0x0A, 0x0B, 0x0C, 0x0D,
                                              101,  7,    3,    4,    0xBE, 0xEF, 0x00, 136};
    EXPECT_EQ(bytes, expected);
    vp::PacketHeader back {};
    EXPECT_EQ(vp::decodePacketHeader(std::span(bytes.data(), 15), back).status, vp::DecodeStatus::NeedMore);
    ASSERT_TRUE(vp::decodePacketHeader(bytes, back).ok());
    EXPECT_EQ(back.seconds, 0x0A0B0C0Du);
    EXPECT_EQ(back.errorExtension, 0xBEEF);
    EXPECT_EQ(back.dataLength, 136);
    const vp::PacketHeader stamped {.milliseconds = 250, .seconds = 12};
    EXPECT_EQ(stamped.timeMs(), 12250u);
}

TEST(SystemStatusBlock, RateTravelsAsSixDigits)
{
    struct Case {
        double rate;
        const char* digits;
    };
    for (const auto& c : {Case {103.3, "103300"}, Case {0.0, "000000"}, Case {999.9994, "999999"},
                          Case {1500.0, "999999"}, Case {-5.0, "000000"}, Case {0.0005, "000001"}}) {
        const auto digits = vp::measurementRateDigits(c.rate);
        EXPECT_EQ(std::string(digits.begin(), digits.end()), c.digits) << c.rate;
    }
}

TEST(SystemStatusBlock, RoundTripsEveryField)
{
    VornSystemConfig config {};
    config.systemStatus = 0xC3;
    config.errorCode = 9;
    config.numberOfUnits = 3;
    config.controllerField1 = 0x11;
    config.transmitter = 0x21;
    config.measurementRate = 103.3;
    config.controllerField2 = 0x22;
    config.controllerField3 = 0x33;
    config.controllerField4 = 0x44;
    config.softwareRevision = 0x0343;
    config.unitStatus[0] = 0x61; // not carried
    config.unitStatus[1] = 0xE1;
    config.unitStatus[120] = 0xA0;
    config.unitStatus[121] = 0xFF; // not carried
    const auto bytes = vp::encodeSystemStatusBlock(vp::systemStatusBlockOf(config));
    EXPECT_EQ(bytes[14], 0x03);
    EXPECT_EQ(bytes[15], 0x43);
    EXPECT_EQ(bytes[16], 0xE1);
    EXPECT_EQ(bytes[135], 0xA0);
    vp::SystemStatusBlock block {};
    ASSERT_TRUE(vp::decodeSystemStatusBlock(bytes, block).ok());
    EXPECT_DOUBLE_EQ(block.measurementRate, 103.3);
    EXPECT_EQ(block.transmitter, 0x21);
    EXPECT_EQ(block.controllerField4, 0x44);
    EXPECT_EQ(block.unitStatus[0], 0xE1);
    EXPECT_EQ(block.unitStatus[119], 0xA0);

    auto corrupt = bytes;
    corrupt[7] = 'x';
    EXPECT_EQ(vp::decodeSystemStatusBlock(corrupt, block).fault, vp::DecodeFault::BadRateDigits);
}

TEST(DeviceStatusBlock, LayoutAndRoundTrip)
{
    VornDeviceConfig config {};
    config.status = 0x47;
    config.status2 = 5;
    config.softwareRevision = 0x0343;
    config.errorCode = 2;
    config.setup = 0x29;
    config.dataFormat = 5;
    config.reportRate = 8;
    config.scaling = 72;
    config.hemisphere = 3;
    config.address = 2;
    config.transmitterType = 0x51;
    for (int i = 0; i < 7; ++i) {
        config.alphaMin[i] = static_cast<uint16_t>(688 + i);
        config.alphaMax[i] = static_cast<uint16_t>(29491 - i);
        config.vm[i] = static_cast<uint16_t>(i * 100);
    }
    config.referenceFrame[0] = -16384;
    config.angleAlign[2] = 32767;
    const auto bytes = vp::encodeDeviceStatusBlock(config);
    EXPECT_EQ(bytes[6], 0xC5); // 12 words, format 5
    EXPECT_EQ(bytes[16], 688 >> 8);
    EXPECT_EQ(bytes[17], 688 & 0xFF);
    EXPECT_EQ(bytes[58], 0xC0);
    VornDeviceConfig back {};
    ASSERT_TRUE(vp::decodeDeviceStatusBlock(bytes, back).ok());
    EXPECT_EQ(std::memcmp(&back, &config, sizeof config), 0);
    EXPECT_EQ(vp::decodeDeviceStatusBlock(std::span(bytes.data(), 69), back).status, vp::DecodeStatus::NeedMore);
}
