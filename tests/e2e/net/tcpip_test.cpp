// The library's TCP/IP connection against the simulated networked controller.
#include "controller/controller_server.h"
#include "message_capture.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

using namespace vorn::sim;

namespace {

constexpr int kGroup = 5;

class TcpipTest : public ::testing::Test {
protected:
    void start(ControllerConfig config = controllerConfig(3))
    {
        controller = std::make_unique<ControllerServer>(std::move(config));
        controller->start();
    }

    void wake(int units = 3)
    {
        ASSERT_EQ(vornTCPIPWakeUp(kGroup, "127.0.0.1", controller->port(), units), 1) << messages.take();
    }

    // Packets the controller received, of one type.
    std::vector<ReceivedPacket> receivedOfType(uint8_t type)
    {
        std::vector<ReceivedPacket> found;
        for (const auto& packet : controller->received().packets())
            if (packet.header.type == type)
                found.push_back(packet);
        return found;
    }

    void TearDown() override
    {
        shutDownEveryGroup();
        if (controller)
            controller->stop();
    }

    MessageCapture messages;
    std::unique_ptr<ControllerServer> controller;
};

TEST_F(TcpipTest, WakesUpReadsAndWritesConfigurationsWithConsecutiveSequenceNumbers)
{
    start();
    wake(0);
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1) << messages.take();
    EXPECT_EQ(system.numberOfUnits, 3); // taken from the controller: the caller said 0
    EXPECT_NEAR(system.measurementRate, 103.3, 1e-9);
    EXPECT_EQ(system.softwareRevision, 0x0300);
    EXPECT_EQ(system.unitStatus[0], 0);
    EXPECT_EQ(system.unitStatus[1], 0xE1);

    system.measurementRate = 103.3;
    system.controllerField2 = 7;
    ASSERT_EQ(vornSetSystemConfig(kGroup, &system), 1) << messages.take();
    const auto setups = receivedOfType(102);
    ASSERT_EQ(setups.size(), 1u);
    EXPECT_EQ(std::string(setups[0].data.begin() + 5, setups[0].data.begin() + 11), "103300");
    EXPECT_EQ(setups[0].data[12 - 1], 7);

    VornDeviceConfig device {};
    ASSERT_EQ(vornGetDeviceConfig(kGroup, 2, &device), 1) << messages.take();
    EXPECT_EQ(device.address, 2);
    EXPECT_EQ(device.dataFormat, 8);
    EXPECT_EQ(device.alphaMin[0], 688);
    device.dataFormat = 4;
    ASSERT_EQ(vornSetFastDeviceConfig(kGroup, 2, &device), 1) << messages.take();
    EXPECT_EQ(controller->deviceConfig(2).dataFormat, 4);
    device.dataFormat = 6;
    EXPECT_EQ(vornSetDeviceConfig(kGroup, 2, &device), 0);
    EXPECT_EQ(messages.take(), "Invalid vorn data format specified for vorn #2: 0x06\n");

    const auto packets = controller->received().packets();
    ASSERT_EQ(packets.size(), 5u); // wake up, get, set, get unit, set unit; the refused set sent nothing
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(packets[i].header.sequence, i) << "packet " << i;
        EXPECT_EQ(packets[i].header.protocolVersion, 3);
    }
    EXPECT_EQ(packets[3].header.subtype, 2);
}

TEST_F(TcpipTest, KeepsTheCallersUnitCount)
{
    start();
    wake(2);
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    EXPECT_EQ(system.numberOfUnits, 2);
}

TEST_F(TcpipTest, RefusesRatesThatDoNotFitTheSixDigitField)
{
    start();
    wake();
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    for (double rate : {1000.0, 0.0, -5.0, 999.9996, std::nan("")}) {
        system.measurementRate = rate;
        EXPECT_EQ(vornSetSystemConfig(kGroup, &system), 0) << rate;
        EXPECT_NE(messages.take().find("Illegal measurement rate specified for vorns"), std::string::npos);
    }
    system.measurementRate = 999.999;
    EXPECT_EQ(vornSetSystemConfig(kGroup, &system), 1) << messages.take();
    EXPECT_EQ(receivedOfType(102).size(), 1u);
}

TEST_F(TcpipTest, WakeUpRefusals)
{
    start();
    struct Case {
        const char* what;
        ControllerFaults faults;
        const char* message;
    } cases[] = {
        {"wrong answer type", {.answerType = 21}, "Vorn \"wake up\" command returned invalid packet type: 21.\n"},
        {"error code", {.errorCode = 4, .errorExtension = 9}, "Vorn \"wake up\" command returned error 4 (9).\n"},
        {"hang-up",
         {.closeOnRequest = true},
         "Unable to get packet from TCP/IP link.\nUnable to get \"wake up\" response from vorns.\n"},
    };
    for (const Case& c : cases) {
        controller->setFaults(c.faults);
        EXPECT_EQ(vornTCPIPWakeUp(kGroup, "127.0.0.1", controller->port(), 3), 0) << c.what;
        EXPECT_EQ(messages.take(), c.message) << c.what;
        EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
    }
    controller->setFaults({});
    EXPECT_EQ(vornTCPIPWakeUp(kGroup, "no-such-host.invalid", 4000, 3), 0);
    EXPECT_EQ(messages.take(), "Unable to connect TCP/IP socket at address no-such-host.invalid, port 4000.\n");
    // The slot is free again after every refusal.
    EXPECT_EQ(vornTCPIPWakeUp(kGroup, "localhost", controller->port(), 3), 1) << messages.take();
}

TEST_F(TcpipTest, SingleFramesCarryTheControllersTimeAndEveryUnit)
{
    start();
    wake();
    VornFrame frame {};
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1) << messages.take();
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << messages.take();
    for (int unit = 1; unit <= 3; ++unit)
        EXPECT_NE(frame.reading[unit].quaternion[0], 0) << unit;
    EXPECT_EQ(frame.reading[0].quaternion[0], 0);
    EXPECT_EQ(frame.reading[4].quaternion[0], 0);
    EXPECT_EQ(frame.reading[1].angles[0], 0); // not in format 8
    EXPECT_LT(frame.time, 10000u);            // the controller started moments ago
}

TEST_F(TcpipTest, OneXControllerTakesNoSingleShot)
{
    ControllerConfig config = controllerConfig(2);
    config.softwareRevision = 0x0102;
    start(config);
    wake(2);
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    EXPECT_EQ(vornStartSingleFrame(kGroup), 0);
    EXPECT_EQ(messages.take(),
              "Illegal call to vornStartSingleFrame() while communicating with version 1.x Velmorasta software.\n");
    EXPECT_TRUE(receivedOfType(103).empty());
}

TEST_F(TcpipTest, BadDataPacketsFailWithTheirCodesAndLeaveTheGroupUsable)
{
    ControllerConfig config = controllerConfig(1);
    config.units[0].address = 120;
    start(config);
    wake(1);
    struct Case {
        const char* what;
        ControllerFaults faults;
        int code;
        const char* message;
    } cases[] = {
        {"type 211",
         {.dataPacketType = 211},
         VORN_ERR_TCPIP_PACKET_TYPE,
         "Vorn data stream returned invalid packet type: 211.\n"},
        {"address 121", {.recordAddress = 121}, VORN_ERR_TCPIP_ADDRESS, "Invalid vorn number received: 121\n"},
        {"format 6",
         {.recordFormat = 6},
         VORN_ERR_TCPIP_RECORD,
         "Invalid vorn data format received for vorn #120: 0x06\n"},
        {"format 9",
         {.recordFormat = 9},
         VORN_ERR_TCPIP_RECORD,
         "Invalid vorn data format received for vorn #120: 0x09\n"},
        {"record cut short",
         {.truncateLastRecord = true},
         VORN_ERR_TCPIP_RECORD,
         "Vorn data packet ended inside the record of vorn #120.\n"},
        {"oversize payload",
         {.announcedPayload = 6000},
         VORN_ERR_TCPIP_READ,
         "Vorn data packet announced 6000 data bytes; a data packet carries at most 4096.\n"},
    };
    VornFrame frame {};
    for (const Case& c : cases) {
        controller->setFaults(c.faults);
        ASSERT_EQ(vornStartSingleFrame(kGroup), 1) << c.what;
        frame.time = 12345;
        EXPECT_EQ(vornGetFrame(kGroup, &frame), 0) << c.what;
        EXPECT_EQ(frame.time, 12345u) << c.what << ": a failed get leaves the caller's frame alone";
        EXPECT_EQ(messages.take(), c.message) << c.what;
        EXPECT_EQ(vornGetErrorCode(), c.code) << c.what;
    }
    controller->setFaults({});
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1);
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << messages.take();
    EXPECT_NE(frame.reading[120].quaternion[0], 0); // address 120 is accepted
}

TEST_F(TcpipTest, StreamsDropOtherPacketsAndReportFramesReady)
{
    ControllerConfig config = controllerConfig(2);
    config.measurementRate = 144.0;
    start(config);
    wake(2);
    ASSERT_EQ(vornStartFrameStream(kGroup), 1) << messages.take();
    VornFrame frame {};
    uint32_t previous = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << messages.take();
        EXPECT_GE(frame.time, previous);
        previous = frame.time;
    }
    // In a stream a packet of another type is dropped and the next is used.
    controller->setFaults({.dataPacketType = 211});
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    controller->setFaults({});
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << messages.take();

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!vornFrameReady(kGroup) && std::chrono::steady_clock::now() < until) {
    }
    EXPECT_EQ(vornFrameReady(kGroup), 1);
    ASSERT_EQ(vornGetMostRecentFrame(kGroup, &frame), 1) << messages.take();
    ASSERT_EQ(vornStopFrameStream(kGroup), 1) << messages.take();
    EXPECT_EQ(receivedOfType(105).size(), 1u);
    ASSERT_EQ(vornTCPIPClearBuffer(kGroup), 1);
    EXPECT_EQ(vornFrameReady(kGroup), 0);
    EXPECT_EQ(messages.take(), "");
}

TEST_F(TcpipTest, RunContinuousAnswers)
{
    start();
    wake();
    // Data before the acknowledgement: the buffer is emptied, the stream runs.
    controller->setFaults({.answerRunContinuousWithData = true});
    ASSERT_EQ(vornStartFrameStream(kGroup), 1) << messages.take();
    controller->setFaults({});
    VornFrame frame {};
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << messages.take();
    ASSERT_EQ(vornStopFrameStream(kGroup), 1);
    EXPECT_EQ(messages.take(), "");
}

TEST_F(TcpipTest, PassThroughSendDiscardsWhatWasNotRead)
{
    start();
    wake();
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the data packet waits unread
    const unsigned char getStatus[16] = {0, 9, 0, 0, 0, 0, 0, 0, 101, 0, 3, 0, 0, 0, 0, 0};
    ASSERT_EQ(vornTCPIPSendCommand(kGroup, getStatus, sizeof getStatus), 1);
    unsigned char answer[16 + 136] = {};
    ASSERT_EQ(vornTCPIPGetResponse(kGroup, answer, sizeof answer), 1);
    EXPECT_EQ(answer[8], 201);
    EXPECT_EQ(answer[1], 9); // the caller's own sequence number, answered
    EXPECT_EQ(vornTCPIPClearBuffer(kGroup), 1);
    // The pass-through does not advance the library's counter.
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    const auto packets = controller->received().packets();
    EXPECT_EQ(packets.back().header.sequence, 2);
}

TEST_F(TcpipTest, SequenceNumbersWrapAfter65535)
{
    start(controllerConfig(1));
    wake(1);
    // Sequence 0 was the wake-up; 65535 more single shots reach 65535, the next wraps.
    for (int i = 0; i < 65536; ++i)
        ASSERT_EQ(vornStartSingleFrame(kGroup), 1) << i;
    ASSERT_TRUE(controller->received().waitFor(65537, std::chrono::seconds(10)));
    const auto packets = controller->received().packets();
    EXPECT_EQ(packets[65535].header.sequence, 65535);
    EXPECT_EQ(packets[65536].header.sequence, 0);
}

TEST_F(TcpipTest, SilentOrVanishedControllerNeverHangsACall)
{
    setenv("VORN_TCPIP_TIMEOUT_MS", "300", 1);
    start();
    wake();
    unsetenv("VORN_TCPIP_TIMEOUT_MS");
    controller->setFaults({.stall = std::chrono::milliseconds(2000)});
    VornSystemConfig system {};
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(vornGetSystemConfig(kGroup, &system), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(1000));
    EXPECT_EQ(messages.take(),
              "Unable to get packet from TCP/IP link.\nUnable to get \"get status\" response from vorns.\n");

    // Noise instead of an answer: refused at once, and the next request finds its answer.
    controller->setFaults({.garbageBytes = 300});
    EXPECT_EQ(vornGetSystemConfig(kGroup, &system), 0);
    EXPECT_NE(messages.take(), "");
    controller->setFaults({});
    EXPECT_EQ(vornGetSystemConfig(kGroup, &system), 1) << messages.take();

    controller->hangUpAll();
    controller->closeListener();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(vornGetSystemConfig(kGroup, &system), 0);
    EXPECT_NE(messages.take(), "");
    VornFrame frame {};
    EXPECT_EQ(vornGetFrame(kGroup, &frame), 0);
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_TCPIP_READ);
    messages.take();
    vornShutDown(kGroup);
    // The slot is free: a new group can take it.
    VornDeviceConfig device {};
    EXPECT_EQ(vornGetDeviceConfig(kGroup, 1, &device), 0);
    EXPECT_EQ(messages.take(), "Group ID passed to vornGetDeviceConfig() is not in use.\n");
}

TEST_F(TcpipTest, ShutDownSendsTheShutDownPacket)
{
    start();
    wake();
    vornShutDown(kGroup);
    ASSERT_TRUE(controller->received().waitFor(2, std::chrono::seconds(1)));
    const auto packets = controller->received().packets();
    EXPECT_EQ(packets.back().header.type, 11);
    EXPECT_EQ(packets.back().header.sequence, 1);
}

} // namespace
