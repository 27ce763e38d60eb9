#include "core/scripted_library.h"
#include "core/sensor_options_apply.h"

#include <gtest/gtest.h>

namespace vornscope {
namespace {

using testing::RecordingSink;
using testing::ScriptedLibrary;

TEST(SensorOptionsMapping, Conversions)
{
    EXPECT_EQ(wordFromAlpha(0.5), 16384);
    EXPECT_DOUBLE_EQ(alphaFromWord(8192), 0.25);
    EXPECT_EQ(wordFromAlpha(0.021), 688);
    EXPECT_EQ(wordFromAlpha(1.0), 32768);
    EXPECT_EQ(wordFromDegrees(180.0), 32767);
    EXPECT_EQ(wordFromDegrees(-90.0), -16383); // truncated toward zero
    EXPECT_NEAR(degreesFromWord(16384), 90.0027, 1e-4);

    // Sliders: position 0 is the top and means 1.0 (alpha) or the largest Vm.
    EXPECT_EQ(alphaSliderPosition(1.0), 0);
    EXPECT_EQ(alphaSliderPosition(0.0), 32767);
    EXPECT_EQ(alphaSliderPosition(0.5), 16384);
    EXPECT_DOUBLE_EQ(alphaFromSlider(32767), 0.0);
    EXPECT_EQ(alphaToolTipValue(0.25), 8192);
    EXPECT_EQ(vmFromSlider(1), 32767);
    EXPECT_EQ(vmSliderPosition(32767), 1);
    EXPECT_EQ(vmSliderPosition(0), 32767); // clamped into the slider's range

    const std::pair<std::uint8_t, int> formats[] = {{1, 0}, {2, 1}, {4, 2}, {3, 3}, {5, 4},
                                                    {7, 5}, {8, 6}, {0, 7}, {6, 7}};
    for (const auto& [code, index] : formats) {
        EXPECT_EQ(formatIndexFromCode(code), index) << int(code);
        if (index < 7) {
            EXPECT_EQ(formatCodeFromIndex(index), code);
        }
    }
}

TEST(SensorOptionsMapping, PageFromConfig)
{
    VornDeviceConfig config {};
    config.dataFormat = 5;
    config.setup = 0x04 | 0x20 | 0x08;
    config.scaling = 144;
    config.hemisphere = 3;
    config.alphaMin[0] = 8192;
    config.vm[6] = 1234;
    config.angleAlign[1] = -16384;
    const SensorPageValues page = pageFromConfig(config, 0x80, 50);
    EXPECT_EQ(page.formatIndex, 4);
    EXPECT_TRUE(page.bit(SetupBit::NarrowNotch));
    EXPECT_TRUE(page.bit(SetupBit::LargeChange));
    EXPECT_TRUE(page.bit(SetupBit::ButtonData));
    EXPECT_FALSE(page.bit(SetupBit::WideNotch));
    EXPECT_FALSE(page.bit(SetupBit::Dc));
    EXPECT_EQ(page.range, 144);
    EXPECT_FALSE(page.rangeEnabled); // bit 7 of the system's transmitter byte
    EXPECT_TRUE(pageFromConfig(config, 0x7F, 50).rangeEnabled);
    EXPECT_EQ(page.hemisphere, 3);
    EXPECT_DOUBLE_EQ(page.alphaMin[0], 0.25);
    EXPECT_EQ(page.vm[6], 1234);
    EXPECT_NEAR(page.angleAlign[1], -90.0, 0.01);
    EXPECT_EQ(page.lineFrequency, 50);
}

TEST(SensorOptionsPlan, ConfigureAllAfterFromUnitTwoOfFour)
{
    std::vector<SensorPageValues> pages(4);
    pages[1].configureAllAfter = true;
    const auto plan = planSensorPages({1, 2, 3, 4}, pages, 4);
    ASSERT_EQ(plan.size(), 4u);
    const std::pair<int, std::size_t> expected[] = {{1, 0}, {2, 1}, {3, 1}, {4, 1}};
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(plan[i].unit, expected[i].first);
        EXPECT_EQ(plan[i].page, expected[i].second);
    }
    // Later units get the page whether their sensor is present or not.
    const auto sparse = planSensorPages({1, 3}, {SensorPageValues {}, SensorPageValues {}}, 5);
    ASSERT_EQ(sparse.size(), 2u);
    std::vector<SensorPageValues> first(2);
    first[0].configureAllAfter = true;
    const auto fromFirst = planSensorPages({1, 3}, first, 5);
    ASSERT_EQ(fromFirst.size(), 5u);
    EXPECT_EQ(fromFirst[1].unit, 2);
    EXPECT_EQ(fromFirst[4].unit, 5);
}

class ApplyPage : public ::testing::Test {
protected:
    ApplyPage() : group(3, Transport::RS232, false, 1)
    {
        group.deviceConfig.assign(2, VornDeviceConfig {});
        group.deviceConfig[1].scaling = 72;
        group.deviceConfig[1].dataFormat = 1;
        library.devices[1] = group.deviceConfig[1];
    }
    std::vector<VornDeviceConfig> sets() const
    {
        std::vector<VornDeviceConfig> result;
        for (const auto& call : library.named("setDeviceConfig"))
            result.push_back(call.config);
        return result;
    }
    ScriptedLibrary library;
    RecordingSink sink;
    CVornGroup group;
};

TEST_F(ApplyPage, StepsInOrderAndRange144NeverWrittenButSaidSo)
{
    SensorPageValues page = pageFromConfig(group.deviceConfig[1], 0, 60);
    page.range = 144;
    page.referenceFrame = {90, 0, 0};
    page.alphaMin[2] = 0.5;
    page.lineFrequency = 50;
    applySensorPage(library, group, 1, page, false, sink);
    const auto written = sets();
    // reference frame, angle align, format, filters, hemisphere, xyz, button, alpha min, alpha max, vm
    ASSERT_EQ(written.size(), 10u);
    for (const auto& config : written)
        EXPECT_EQ(config.scaling, 72);
    EXPECT_EQ(written[0].referenceFrame[0], 16383);
    EXPECT_EQ(written[7].alphaMin[2], 16384);
    // The angle align is read back on RS232 before the format is written.
    const auto names = library.names();
    EXPECT_EQ(names[2], "getDeviceConfig");
    const auto commands = library.named("sendCommand");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].bytes, (std::vector<std::uint8_t> {'P', 20, 50}));
    // Choosing 144 on a unit at 72 is not dropped silently.
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], unitRefusalText(1, {range144Refusal(72)}));
    EXPECT_EQ(group.deviceConfig[1].scaling, 72);

    // On an extended-range unit 144 is what it has: nothing to say.
    sink.texts.clear();
    group.deviceConfig[1].scaling = 144;
    library.devices[1].scaling = 144;
    applySensorPage(library, group, 1, page, false, sink);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(ApplyPage, ARefusedValueKeepsTheOldOneAndShowsTheLibrarysReason)
{
    const std::string reason = "Illegal scaling value specified for vorn #1: 288.";
    library.refusedScalings[288] = reason;
    SensorPageValues page = pageFromConfig(group.deviceConfig[1], 0, 60);
    page.range = 288;
    page.hemisphere = 3;
    applySensorPage(library, group, 1, page, false, sink);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], unitRefusalText(1, {reason}));
    // The record keeps 72, later writes send 72, and the accepted hemisphere stays.
    EXPECT_EQ(group.deviceConfig[1].scaling, 72);
    EXPECT_EQ(group.deviceConfig[1].hemisphere, 3);
    EXPECT_EQ(sets().back().scaling, 72);
}

TEST_F(ApplyPage, ALineFrequencyNeverReadIsNotWritten)
{
    SensorPageValues page = pageFromConfig(group.deviceConfig[1], 0, kLineFrequencyNotRead);
    applySensorPage(library, group, 1, page, false, sink);
    EXPECT_TRUE(library.named("sendCommand").empty());
}

TEST_F(ApplyPage, Range72IsWritten)
{
    SensorPageValues page = pageFromConfig(group.deviceConfig[1], 0, 60);
    page.range = 36;
    applySensorPage(library, group, 1, page, false, sink);
    EXPECT_EQ(sets().size(), 11u);
    EXPECT_EQ(sets().back().scaling, 36);
    library.calls.clear();
    page.range = 72;
    applySensorPage(library, group, 1, page, false, sink);
    ASSERT_EQ(sets().size(), 11u);
    EXPECT_EQ(sets()[5].scaling, 72);
    EXPECT_EQ(sets()[4].scaling, 36);
}

TEST_F(ApplyPage, AnimateModeKeepsTheFormatWithItsMessage)
{
    SensorPageValues page = pageFromConfig(group.deviceConfig[1], 0, 60);
    page.formatIndex = 1;
    applySensorPage(library, group, 1, page, true, sink);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], "Data format cannot be changed while in animate mode");
    for (const auto& config : sets())
        EXPECT_EQ(config.dataFormat, 1);

    sink.texts.clear();
    page.formatIndex = 4; // position/matrix is what animate mode uses
    applySensorPage(library, group, 1, page, true, sink);
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_EQ(sets().back().dataFormat, 5);
}

TEST_F(ApplyPage, FilterBitsMapOntoSetup)
{
    SensorPageValues page = pageFromConfig(group.deviceConfig[1], 0, 60);
    page.setBit(SetupBit::Dc, true);
    page.setBit(SetupBit::WideNotch, true);
    page.setBit(SetupBit::XyzReference, true);
    applySensorPage(library, group, 1, page, false, sink);
    EXPECT_EQ(sets()[3].setup, 0x03);     // filters first
    EXPECT_EQ(sets().back().setup, 0x13); // then the reference-frame bit
}

TEST_F(ApplyPage, TcpipNeitherReadsBackNorSendsUnitCommands)
{
    group.transport = Transport::TCPIP;
    applySensorPage(library, group, 1, pageFromConfig(group.deviceConfig[1], 0, 60), false, sink);
    EXPECT_TRUE(library.named("getDeviceConfig").empty());
    EXPECT_TRUE(library.named("sendCommand").empty());
}

} // namespace
} // namespace vornscope
