// Streams, data-ready characters and the baud rate pace the simulator in real time.
#include "sim_fixture.h"

#include "protocol/rs232_record.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn::sim;
using namespace vorn::sim::test;
using std::chrono::milliseconds;

namespace {

SimulatorConfig oneUnitAt(double rate)
{
    auto config = vornsetConfig(1);
    config.units[0].measurementRate = rate;
    return config;
}

} // namespace

TEST(SimStream, ReportsEveryReportRateCyclesUntilPointOrQuestionMark)
{
    auto sim = startSimulator(oneUnitAt(100.0));
    PtyClient line(sim->linePath(1));
    for (const uint8_t stop : {uint8_t {'B'}, uint8_t {'?'}}) {
        line.send({'V', 'R', '@'}); // position (6 bytes), every second cycle of 100 Hz
        const Bytes data = line.readFor(milliseconds(1000));
        line.send({stop});
        // Never more than due; a loaded machine may deliver a little less.
        const double records = data.size() / 6.0;
        EXPECT_LE(records, 53.0) << "stopped with " << stop;
        EXPECT_GE(records, 35.0) << "stopped with " << stop;
        EXPECT_EQ(data.size() % 6, 0u);
        for (std::size_t at = 0; at + 6 <= data.size(); at += 6) {
            ASSERT_EQ(data[at] & 0x80, 0x80) << "record at " << at;
        }
        line.readFor(milliseconds(50)); // what was already on its way
        EXPECT_TRUE(line.readFor(milliseconds(150)).empty()) << "still streaming after " << stop;
    }
}

TEST(SimStream, GroupModeStreamSendsWholeFramesThroughTheMaster)
{
    auto config = vornsetConfig(3);
    config.units[0].measurementRate = 50.0;
    auto sim = startSimulator(config);
    PtyClient line(sim->linePath(1));
    line.send({'P', 35, 1, '@'});
    const Bytes data = line.readFor(milliseconds(400));
    line.send({'B'});
    ASSERT_GE(data.size(), 39u * 10);
    const std::size_t frames = data.size() / 39;
    for (std::size_t f = 0; f < frames; ++f) {
        EXPECT_EQ(data[39 * f + 12], 1);
        EXPECT_EQ(data[39 * f + 25], 2);
        EXPECT_EQ(data[39 * f + 38], 3);
    }
}

TEST(SimStream, BytesLeaveNoFasterThanTheBaudRate)
{
    auto sim = startSimulator(oneUnitAt(200.0));
    PtyClient line(sim->linePath(1), 9600);
    line.send({'Z', '@'}); // 24-byte records at 200 Hz want 4800 bytes/s; 9600 baud carries 960
    line.readFor(milliseconds(200));
    const Bytes data = line.readFor(milliseconds(1000));
    line.send({'B'});
    EXPECT_LT(data.size(), 1010u); // 960 bytes/s at most
    EXPECT_GT(data.size(), 600u);
}

TEST(SimStream, DataReadyCharacterEveryMeasurementCycle)
{
    auto sim = startSimulator(oneUnitAt(100.0));
    PtyClient line(sim->linePath(1));
    line.send({'P', 8, 1});
    const Bytes data = line.readFor(milliseconds(1000));
    line.send({'P', 8, 0});
    EXPECT_LE(data.size(), 103u);
    EXPECT_GE(data.size(), 75u);
    EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](uint8_t b) { return b == ','; }));
    line.readFor(milliseconds(50));
    EXPECT_TRUE(line.readFor(milliseconds(100)).empty());
}
