#include "core/scripted_library.h"
#include "core/system_options.h"

#include <gtest/gtest.h>

namespace vornscope {
namespace {

using testing::ScriptedLibrary;

class SystemOptionsTest : public ::testing::Test {
protected:
    SystemOptionsTest() : group(5, Transport::RS232, false, 2)
    {
        group.deviceConfig.assign(3, VornDeviceConfig {});
        group.systemConfig.measurementRate = 100.0;
        group.hasTransmitter[2] = true;
        group.activeTransmitter = 2;
        library.devices[1].status = 0x04;
        library.devices[2].status = 0x47; // running, drives the transmitter
        library.examineAnswers[18] = {1};
    }
    std::vector<std::vector<std::uint8_t>> sent() const
    {
        std::vector<std::vector<std::uint8_t>> bytes;
        for (const auto& call : library.named("sendCommand"))
            bytes.push_back(call.bytes);
        return bytes;
    }
    ScriptedLibrary library;
    CVornGroup group;
    AcquisitionSettings settings {5, false};
};

TEST_F(SystemOptionsTest, ReadsWhatTheDialogShows)
{
    const auto values = readSystemOptions(library, group, settings);
    EXPECT_DOUBLE_EQ(values.measurementRate, 100.0);
    EXPECT_EQ(values.transmitterUnits, (std::vector<int> {2}));
    EXPECT_EQ(values.activeTransmitter, 2);
    EXPECT_EQ(values.transmitterMode, 1);
    EXPECT_TRUE(values.transmitterOn);
    EXPECT_EQ(values.samplesPerPoint, 5);
}

TEST_F(SystemOptionsTest, OnlyShowTimesChangedStillSelectsTheTransmitter)
{
    const auto read = readSystemOptions(library, group, settings);
    library.calls.clear();
    auto chosen = read;
    chosen.showTimes = true;
    applySystemOptions(library, group, read, chosen, settings);
    EXPECT_EQ(library.names().front(), "setSystemConfig");
    EXPECT_EQ(sent(), (std::vector<std::vector<std::uint8_t>> {{'0', 0x20, 0}}));
    EXPECT_TRUE(settings.showTimes);
}

TEST_F(SystemOptionsTest, ChangesGoOutInOrder)
{
    const auto read = readSystemOptions(library, group, settings);
    library.calls.clear();
    auto chosen = read;
    chosen.measurementRate = 120.5;
    chosen.samplesPerPoint = 3;
    chosen.transmitterMode = 2;
    chosen.transmitterOn = false;
    applySystemOptions(library, group, read, chosen, settings);
    EXPECT_DOUBLE_EQ(library.system.measurementRate, 120.5);
    const auto bytes = sent();
    ASSERT_EQ(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], (std::vector<std::uint8_t> {'0', 0x20, 0}));
    EXPECT_EQ(bytes[1], (std::vector<std::uint8_t> {'O', 15})); // the mode routine asks the model
    EXPECT_EQ(bytes[2], (std::vector<std::uint8_t> {'P', 18, 2}));
    EXPECT_EQ(bytes[3], (std::vector<std::uint8_t> {'G'}));
    EXPECT_EQ(settings.samplesPerPoint, 3);
}

TEST_F(SystemOptionsTest, TransmitterOnSendsRun)
{
    library.devices[2].status = 0x07; // not running
    const auto read = readSystemOptions(library, group, settings);
    EXPECT_FALSE(read.transmitterOn);
    library.calls.clear();
    auto chosen = read;
    chosen.transmitterOn = true;
    applySystemOptions(library, group, read, chosen, settings);
    EXPECT_EQ(sent().back(), (std::vector<std::uint8_t> {'F'}));
}

TEST_F(SystemOptionsTest, TcpipHasNoModeAndSendsNoUnitCommands)
{
    group.transport = Transport::TCPIP;
    const auto read = readSystemOptions(library, group, settings);
    EXPECT_FALSE(read.transmitterMode);
    auto chosen = read;
    chosen.transmitterOn = !read.transmitterOn;
    chosen.measurementRate = 60;
    library.calls.clear();
    applySystemOptions(library, group, read, chosen, settings);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(library.named("setSystemConfig").size(), 1u);
}

TEST_F(SystemOptionsTest, ARefusedRateIsShownAndTheOldOneStays)
{
    const std::string reason = "Illegal measurement rate specified for master vorn: 500 Hz.";
    library.refuseSystemConfig = reason;
    const auto read = readSystemOptions(library, group, settings);
    auto chosen = read;
    chosen.measurementRate = 500;
    chosen.samplesPerPoint = 2;
    const auto refused = applySystemOptions(library, group, read, chosen, settings);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find(reason), std::string::npos) << *refused;
    EXPECT_NE(refused->find("stays 100.000"), std::string::npos) << *refused;
    // The record, and so the next dialog and the pacing, keep 100.
    EXPECT_DOUBLE_EQ(group.systemConfig.measurementRate, 100.0);
    EXPECT_DOUBLE_EQ(readSystemOptions(library, group, settings).measurementRate, 100.0);
    // The other choices still go out.
    EXPECT_EQ(settings.samplesPerPoint, 2);

    library.refuseSystemConfig.reset();
    EXPECT_FALSE(setMeasurementRate(library, group, 120));
    EXPECT_DOUBLE_EQ(group.systemConfig.measurementRate, 120.0);
}

} // namespace
} // namespace vornscope
