// Faults injected per line, resets by reopening and by "b", and the received-bytes log.
#include "sim_fixture.h"

#include <gtest/gtest.h>

#include <thread>

using namespace vorn::sim;
using namespace vorn::sim::test;
using std::chrono::milliseconds;

TEST(SimFaults, EachFaultChangesWhatLeavesTheLine)
{
    auto sim = startSimulator(vornsetConfig(1));
    PtyClient line(sim->linePath(1));
    Rs232Line& faults = sim->line(1);

    faults.corruptPhasingBits(1);
    EXPECT_EQ(line.ask({'B'}, 12).at(0) & 0x80, 0);
    EXPECT_EQ(line.ask({'B'}, 12).at(0) & 0x80, 0x80);

    faults.dropBytes(1);
    EXPECT_EQ(line.ask({'O', 1}, 2, milliseconds(200)), (Bytes {67}));

    faults.duplicateBytes(1);
    EXPECT_EQ(line.ask({'O', 1}, 3), (Bytes {3, 3, 67}));

    faults.insertGarbage({0x55, 0xAA});
    EXPECT_EQ(line.read(2), (Bytes {0x55, 0xAA}));

    faults.stall(milliseconds(300));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(line.ask({'O', 1}, 2), (Bytes {3, 67}));
    EXPECT_GE(std::chrono::steady_clock::now() - before, milliseconds(250));
}

TEST(SimFaults, ClosedLineHangsUpAndComesBackReset)
{
    auto sim = startSimulator(vornsetConfig(1));
    auto line = std::make_unique<PtyClient>(sim->linePath(1));
    line->send({'X'});
    EXPECT_EQ(line->ask({'O', 0}, 2).size(), 2u);
    sim->line(1).closeLine(milliseconds(200));
    std::this_thread::sleep_for(milliseconds(50));
    bool hungUp = false;
    try {
        hungUp = line->ask({'O', 1}, 2, milliseconds(100)).empty();
    } catch (const std::exception&) {
        hungUp = true; // writing to a hung-up line fails
    }
    EXPECT_TRUE(hungUp);
    line.reset();
    std::this_thread::sleep_for(milliseconds(250));
    PtyClient again(sim->linePath(1));
    const Bytes status = again.ask({'O', 0}, 2);
    ASSERT_EQ(status.size(), 2u);
    EXPECT_EQ((status[0] >> 1) & 0x0F, 4) << "the reopened unit is back to its reset format";
}

TEST(SimFaults, ReopeningTheLineResetsTheUnit)
{
    auto sim = startSimulator(vornsetConfig(1));
    {
        PtyClient line(sim->linePath(1));
        line.send({'P', 35, 1});
        EXPECT_EQ(line.ask({'O', 35}, 1), Bytes {1});
    }
    std::this_thread::sleep_for(milliseconds(30));
    PtyClient line(sim->linePath(1));
    EXPECT_EQ(line.ask({'O', 35}, 1), Bytes {0});
}

TEST(SimFaults, HardRestartIsSilentThenReset)
{
    auto sim = startSimulator(vornsetConfig(1)); // restart silence 300 ms in tests
    PtyClient line(sim->linePath(1));
    line.send({'P', 35, 1, 'b'});
    EXPECT_TRUE(line.ask({'O', 35}, 1, milliseconds(150)).empty());
    std::this_thread::sleep_for(milliseconds(250));
    EXPECT_EQ(line.ask({'O', 35}, 1), Bytes {0});
}

TEST(SimInspect, ReceivedBytesInOrderWithTimes)
{
    auto sim = startSimulator(vornsetConfig(2));
    PtyClient line(sim->linePath(1));
    line.send({0xF2, 'O', 0});
    std::this_thread::sleep_for(milliseconds(20));
    line.send({'P', 0x32, 2});
    ASSERT_TRUE(sim->received(1).waitFor(6, milliseconds(1000)));
    EXPECT_EQ(sim->received(1).bytes(), (Bytes {0xF2, 'O', 0, 'P', 0x32, 2}));
    const auto chunks = sim->received(1).chunks();
    ASSERT_GE(chunks.size(), 2u);
    EXPECT_LE(chunks.front().time, chunks.back().time);
    EXPECT_FALSE(sim->received(1).waitFor(7, milliseconds(50)));
}
