// The library's ISA and PV2 connections against simulated boards behind the
// port-I/O socket. A board wake-up really waits 4.6 s (5.6 s for a
// vornset), so each scenario wakes its groups once and bundles its checks.
#include "isa/port_io_server.h"
#include "message_capture.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

using namespace vorn::sim;

namespace {

constexpr uint16_t kMasterBase = 0x300;
constexpr uint16_t kSecondBase = 0x320;
constexpr uint16_t kThirdBase = 0x340;
constexpr uint32_t kTimeoutMs = 300;

class IsaTest : public ::testing::Test {
protected:
    void start(IsaConfig config)
    {
        server = std::make_unique<PortIoServer>(std::move(config));
        server->start();
        server->exportEnvironment();
    }

    std::vector<uint16_t> wordsSinceLast(uint16_t base)
    {
        auto words = server->rack().wordsWritten(base);
        server->rack().clearLog();
        return words;
    }

    void TearDown() override
    {
        shutDownEveryGroup();
        unsetenv("VORN_PORTIO");
        if (server)
            server->stop();
    }

    MessageCapture messages;
    std::unique_ptr<PortIoServer> server;
};

using Words = std::vector<uint16_t>;

TEST_F(IsaTest, StandAloneBoard)
{
    start(isaStandAloneConfig(kMasterBase));
    const uint16_t bases[] = {kMasterBase};
    ASSERT_EQ(vornISAWakeUp(1, 1, 1, bases, kTimeoutMs, kTimeoutMs), 1) << messages.take();
    EXPECT_EQ(server->rack().controlRegister(kMasterBase), 1);

    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(1, &system), 1) << messages.take();
    EXPECT_EQ(system.softwareRevision, 0x0343);
    EXPECT_NEAR(system.measurementRate, 103.3, 0.01);
    EXPECT_EQ(system.unitStatus[0], 0x61);

    VornDeviceConfig device {};
    ASSERT_EQ(vornGetDeviceConfig(1, 5, &device), 1) << messages.take(); // stand-alone: any unit is unit 0
    EXPECT_EQ(device.address, 0);
    EXPECT_EQ(device.dataFormat, 4);
    EXPECT_EQ(device.scaling, 72);
    EXPECT_EQ(device.setup & 7, 7); // every filter on
    EXPECT_EQ(device.alphaMin[6], 688);
    device.dataFormat = 8;
    device.setup |= 0x08; // with the button word
    ASSERT_EQ(vornSetDeviceConfig(1, 0, &device), 1) << messages.take();
    EXPECT_EQ(server->rack().settingsOf(0)->dataFormat, 8);
    EXPECT_TRUE(server->rack().settingsOf(0)->button);

    // Pass-through: three bytes make the words 0x5023 and 0x0100, after a clear.
    server->rack().clearLog();
    const unsigned char groupModeOn[] = {0x50, 0x23, 0x01};
    ASSERT_EQ(vornISASendCommand(1, 0, groupModeOn, 3), 1);
    EXPECT_EQ(wordsSinceLast(kMasterBase), (Words {0x6600, 0x5023, 0x0100}));
    // A pass-through command longer than the units' command buffer still goes out word by word.
    const std::vector<unsigned char> runs(201, 0x46);
    ASSERT_EQ(vornISASendCommand(1, 0, runs.data(), static_cast<uint16_t>(runs.size())), 1) << messages.take();
    EXPECT_EQ(wordsSinceLast(kMasterBase).size(), 1u + 101u);
    // An odd count keeps the high byte of the last word only.
    const unsigned char examineRevision[] = {0x4F, 0x01};
    ASSERT_EQ(vornISASendCommand(1, 0, examineRevision, 2), 1);
    unsigned char answer[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    ASSERT_EQ(vornISAGetResponse(1, 0, answer, 1), 1);
    EXPECT_EQ(answer[0], 0x03);
    EXPECT_EQ(answer[1], 0xAA);
    EXPECT_EQ(vornISAGetResponse(1, 0, answer, 2), 0); // nothing more waiting
    EXPECT_EQ(messages.take(), "Unable to read 2 bytes from vorn #0 at address 0x0300.\n");
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
    ASSERT_EQ(vornISAClearBuffer(1, 0), 1);
    const unsigned char groupModeOff[] = {0x50, 0x23, 0x00, 0x00};
    ASSERT_EQ(vornISASendCommand(1, 0, groupModeOff, 4), 1);

    // A reading and a single frame: format 8 with the button word.
    ASSERT_EQ(vornStartReading(1, 0), 1) << messages.take();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (vornReadingReady(1, 0) == 0 && std::chrono::steady_clock::now() < until) {
    }
    EXPECT_EQ(vornReadingReady(1, 0), 2); // the board's data-available bit
    VornReading reading {};
    ASSERT_EQ(vornGetReading(1, 0, &reading), 1) << messages.take();
    EXPECT_EQ(reading.position[0] & 1, 1); // the phasing flag stays in the first word
    EXPECT_NE(reading.quaternion[0], 0);
    VornFrame frame {};
    ASSERT_EQ(vornStartSingleFrame(1), 1) << messages.take();
    const auto answered = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (vornFrameReady(1) == 0 && std::chrono::steady_clock::now() < answered) {
    }
    EXPECT_EQ(vornFrameReady(1), 2); // the board's bit, outside a stream too
    ASSERT_EQ(vornGetFrame(1, &frame), 1) << messages.take();
    EXPECT_NE(frame.reading[0].position[0], 0);
    EXPECT_EQ(frame.reading[1].position[0], 0);

    // A stream of a stand-alone board, stopped by clearing the board.
    ASSERT_EQ(vornStartFrameStream(1), 1) << messages.take();
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(vornGetFrame(1, &frame), 1) << i << messages.take();
    ASSERT_EQ(vornGetMostRecentFrame(1, &frame), 1) << messages.take();
    ASSERT_EQ(vornStopFrameStream(1), 1) << messages.take();

    // Measurement cycles: "," per cycle; a send clears the board and switches them on again.
    ASSERT_EQ(vornEnableMeasurementCycleReporting(1), 1) << messages.take();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(vornNewMeasurementCycle(1), 1);
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_NONE);
    server->rack().clearLog();
    ASSERT_EQ(vornISASendCommand(1, 0, examineRevision, 2), 1);
    EXPECT_EQ(wordsSinceLast(kMasterBase), (Words {0x6600, 0x5008, 0x0001, 0x4F01}));
    ASSERT_EQ(vornDisableMeasurementCycleReporting(1), 1) << messages.take();

    // A board that never shows a status bit: every wait ends at its time-out.
    server->rack().setDeaf(true);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(vornGetSystemConfig(1, &system), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(3 * kTimeoutMs));
    EXPECT_EQ(messages.take(), "Unable to clear ISA receive buffer for vorn #0 at address 0x0300.\n"
                               "Unable to send \"examine vorn status\" command to master vorn.\n");
    server->rack().setDeaf(false);

    // A service that hangs up fails the access at once; the next access connects again.
    server->setFaults({.closeOnAccess = true});
    EXPECT_EQ(vornGetSystemConfig(1, &system), 0);
    EXPECT_EQ(messages.take().substr(0, 45), "Unable to read ISA port at address 0x0302.\nUn");
    server->setFaults({});
    EXPECT_EQ(vornGetSystemConfig(1, &system), 1) << messages.take();

    vornShutDown(1);
    EXPECT_EQ(server->rack().controlRegister(kMasterBase), 0); // held in reset
}

TEST_F(IsaTest, VornsetBoardByBoardAndASharedPortAccess)
{
    // Units 1 and 2 on boards of their own, unit 3 behind the master; its
    // board at 0x340 is woken as a stand-alone group of its own.
    IsaConfig config = isaVornsetConfig({kMasterBase, kSecondBase, kThirdBase});
    start(config);
    const uint16_t bases[] = {0, kMasterBase, kSecondBase, 0};
    ASSERT_EQ(vornISAWakeUp(2, 0, 3, bases, kTimeoutMs, kTimeoutMs), 1) << messages.take();
    EXPECT_EQ(server->rack().settingsOf(1)->fvbUnits, 3);
    VornDeviceConfig device {};
    for (int unit = 1; unit <= 3; ++unit)
        ASSERT_EQ(vornGetFastDeviceConfig(2, unit, &device), 1) << unit << messages.take();
    EXPECT_EQ(device.softwareRevision, 0x0343); // unit 3, through the master

    // Unit 3 is reached through the master's board with its prefix.
    server->rack().clearLog();
    const unsigned char point[] = {0x42};
    ASSERT_EQ(vornISASendCommand(2, 3, point, 1), 1);
    EXPECT_EQ(wordsSinceLast(kMasterBase), (Words {0x6600, 0xF342}));
    ASSERT_EQ(vornISAClearBuffer(2, 1), 1);
    EXPECT_EQ(vornISAClearBuffer(2, 3), 0);
    EXPECT_EQ(messages.take(), "Non-internal vorn number passed to ISAClearBuffer().\n");

    // Single frames trigger each board and collect word by word; unit 3 has no board.
    VornFrame frame {};
    server->rack().clearLog();
    ASSERT_EQ(vornStartSingleFrame(2), 1) << messages.take();
    EXPECT_EQ(wordsSinceLast(kMasterBase), (Words {0x4200}));
    ASSERT_EQ(vornGetFrame(2, &frame), 1) << messages.take();
    EXPECT_NE(frame.reading[1].position[0], 0);
    EXPECT_NE(frame.reading[2].position[0], 0);
    EXPECT_EQ(frame.reading[3].position[0], 0);
    EXPECT_EQ(vornStartFrameStream(2), 0);
    EXPECT_EQ(messages.take(), "Illegal call to vornStartFrameStream() while in multi-vorn ISA mode.\n");

    // A second ISA group shares the port access; shutting it down leaves the first working.
    const uint16_t alone[] = {kThirdBase};
    ASSERT_EQ(vornISAWakeUp(3, 1, 1, alone, kTimeoutMs, kTimeoutMs), 1) << messages.take();
    vornShutDown(3);
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(2, &system), 1) << messages.take();
    EXPECT_EQ(system.unitStatus[3], 0xE1);
}

TEST_F(IsaTest, Pv2ReadsThroughTheMasterAndStreams)
{
    start(pv2Config(kMasterBase));
    ASSERT_EQ(vornPV2WakeUp(4, kMasterBase, kTimeoutMs, kTimeoutMs), 1) << messages.take();
    VornDeviceConfig device {};
    for (int unit = 1; unit <= 2; ++unit)
        ASSERT_EQ(vornGetFastDeviceConfig(4, unit, &device), 1) << messages.take();
    device.setup |= 0x08;
    EXPECT_EQ(vornSetDeviceConfig(4, 2, &device), 0);
    EXPECT_EQ(messages.take(), "Button mode not supported in Pellvorn II\n");
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(4, &system), 1);
    system.transmitter = 0x21;
    ASSERT_EQ(vornSetSystemConfig(4, &system), 1) << messages.take();
    EXPECT_EQ(system.transmitter, 0x10);

    // A single frame through the master in group mode: both records with their tags.
    VornFrame frame {};
    ASSERT_EQ(vornStartSingleFrame(4), 1) << messages.take();
    ASSERT_EQ(vornGetFrame(4, &frame), 1) << messages.take();
    EXPECT_NE(frame.reading[1].position[0], 0);
    EXPECT_NE(frame.reading[2].position[0], 0);

    // A stream; a record without its phasing flag costs one frame (33), the next is aligned.
    ASSERT_EQ(vornStartFrameStream(4), 1) << messages.take();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(vornGetFrame(4, &frame), 1) << messages.take();
    server->rack().corruptPhasing(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    int failures = 0;
    for (int i = 0; i < 15; ++i) {
        if (vornGetFrame(4, &frame) == 0) {
            ++failures;
            EXPECT_EQ(vornGetErrorCode(), VORN_ERR_PHASE);
            EXPECT_NE(messages.take().find("Phasing bit was not set for vorn #"), std::string::npos);
        }
    }
    EXPECT_EQ(failures, 1);

    // A port that stalls longer than the time-out: the frame call ends soon after it, as a read failure.
    server->setFaults({.stall = std::chrono::milliseconds(700)});
    const auto stalled = std::chrono::steady_clock::now();
    EXPECT_EQ(vornGetFrame(4, &frame), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - stalled, std::chrono::milliseconds(kTimeoutMs + 700));
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_ISA_READ);
    server->setFaults({});
    std::this_thread::sleep_for(std::chrono::milliseconds(800)); // the stalled answers drain
    messages.take();
    bool recovered = false;
    for (int i = 0; i < 10 && !recovered; ++i)
        recovered = vornGetFrame(4, &frame) == 1;
    EXPECT_TRUE(recovered) << messages.take();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (vornFrameReady(4) == 0 && std::chrono::steady_clock::now() < until) {
    }
    EXPECT_EQ(vornFrameReady(4), 2);
    ASSERT_EQ(vornStopFrameStream(4), 1) << messages.take();
    EXPECT_EQ(vornISAResynch(4), 0);
    EXPECT_EQ(messages.take(), "Illegal call to vornISAResynch() while not streaming data.\n");
}

TEST_F(IsaTest, MissingServiceAndBadAddressesFailAtOnce)
{
    setenv("VORN_PORTIO", "/nonexistent/vorn-portio", 1);
    const uint16_t bases[] = {kMasterBase};
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(vornISAWakeUp(1, 1, 1, bases, kTimeoutMs, kTimeoutMs), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(500));
    EXPECT_EQ(messages.take(), "Could not open WinRT device 0, error code 2.\n");
    const uint16_t none[] = {0, 0};
    EXPECT_EQ(vornISAWakeUp(1, 0, 1, none, kTimeoutMs, kTimeoutMs), 0);
    EXPECT_EQ(messages.take(), "No address was specified for master vorn in ISAWakeUp().\n");
    EXPECT_EQ(vornISAWakeUp(1, 1, 1, none, kTimeoutMs, kTimeoutMs), 0);
    EXPECT_EQ(messages.take(), "No address was specified for stand-alone vorn in ISAWakeUp().\n");
    // Without a service the ports are accessed directly, which needs privileges
    // this test may not have; either way nothing crashes and the slot is freed.
    unsetenv("VORN_PORTIO");
    if (::geteuid() != 0) {
        EXPECT_EQ(vornISAWakeUp(1, 1, 1, bases, kTimeoutMs, kTimeoutMs), 0);
        EXPECT_EQ(messages.take(), "Unable to write to ISA port at address 0x0302.\n");
    }
}

} // namespace
