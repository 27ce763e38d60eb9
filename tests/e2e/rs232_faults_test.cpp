// A stream against a line that misbehaves: silence, garbage, a pulled cable.
// Nothing crashes, every failure is reported, and the group stays usable or
// can at least be shut down.
#include "inspect/sent_readings.h"
#include "sim_fixture.h"

#include <functional>
#include <random>

namespace {

constexpr int kGroup = 0;
const uint16_t kPorts[] = {0, 1, 0};

class Rs232Faults : public SimulatorTest {
protected:
    void wakeAndStream()
    {
        startSimulator(vorn::sim::vornsetConfig(2));
        ASSERT_EQ(vornRS232WakeUp(kGroup, 0, 2, kPorts, 115200, 300, 300), 1) << takeMessages();
        VornDeviceConfig device {};
        for (int unit = 1; unit <= 2; ++unit)
            ASSERT_EQ(vornGetFastDeviceConfig(kGroup, unit, &device), 1);
        ASSERT_EQ(vornStartFrameStream(kGroup), 1) << takeMessages();
        VornFrame frame {};
        ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
        takeMessages();
    }

    // Takes frames until one succeeds again (or gives up).
    bool recovers(int attempts)
    {
        VornFrame frame {};
        for (int i = 0; i < attempts; ++i)
            if (vornGetFrame(kGroup, &frame))
                return true;
        return false;
    }
};

TEST_F(Rs232Faults, SilenceGarbageAndAPulledCable)
{
    wakeAndStream();
    VornFrame frame {};

    // A silent line: the time-out messages, code 32, and the group goes on.
    simulator->line(1).stall(std::chrono::milliseconds(700));
    vornRS232ClearBuffer(kGroup, 1);
    EXPECT_EQ(vornGetFrame(kGroup, &frame), 0);
    const std::string silence = takeMessages();
    EXPECT_NE(silence.find("Unable to read 26 bytes from vorn #1."), std::string::npos) << silence;
    EXPECT_NE(silence.find("Unable to get frame data from master vorn."), std::string::npos) << silence;
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_RS232_READ);
    EXPECT_TRUE(recovers(20)) << takeMessages();

    // Bursts of garbage: failures with 33 or 34 at worst, then frames again.
    std::mt19937 random(7);
    for (int burst = 0; burst < 5; ++burst) {
        std::vector<uint8_t> garbage(1 + random() % 200);
        for (auto& byte : garbage)
            byte = static_cast<uint8_t>(random());
        simulator->line(1).insertGarbage(garbage);
        for (int i = 0; i < 5; ++i) {
            if (vornGetFrame(kGroup, &frame) == 0) {
                const int code = vornGetErrorCode();
                EXPECT_TRUE(code == VORN_ERR_RS232_READ || code == VORN_ERR_PHASE || code == VORN_ERR_PHASE_LOST)
                    << code;
            }
        }
        EXPECT_TRUE(recovers(40)) << "after burst " << burst;
        takeMessages();
    }
    // The newest frame survives garbage in the queue too.
    simulator->line(1).insertGarbage(std::vector<uint8_t>(50, 0x55));
    vornHostPump(100);
    vornGetMostRecentFrame(kGroup, &frame);
    EXPECT_TRUE(recovers(40));
    takeMessages();

    // The cable is pulled mid-stream: frames that arrived before are still taken,
    // then calls fail at once; shut-down frees the slot.
    simulator->line(1).closeLine(std::chrono::seconds(30));
    vornHostPump(50);
    const auto start = std::chrono::steady_clock::now();
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i)
        failed = vornGetFrame(kGroup, &frame) == 0;
    EXPECT_TRUE(failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(takeMessages().empty());
    EXPECT_EQ(vornStopFrameStream(kGroup), 0);
    EXPECT_EQ(takeMessages(),
              "Unable to write 1 bytes to vorn #1.\nUnable to send \"point\" command to master vorn.\n");
    vornShutDown(kGroup);
    EXPECT_EQ(vornFrameReady(kGroup), 0);
    EXPECT_EQ(takeMessages(), "Group ID passed to vornFrameReady() is not in use.\n");
}

// A stand-alone unit has no tags: a byte lost or repeated inside a record, or
// a record's tail overwritten by noise, must never make a frame good that the
// unit did not send.
TEST_F(Rs232Faults, DamagedRecordsOnAStandAloneLineAreNeverGoodFrames)
{
    startSimulator(vorn::sim::standAloneConfig());
    const uint16_t port[] = {1};
    ASSERT_EQ(vornRS232WakeUp(kGroup, 1, 1, port, 115200, 300, 300), 1) << takeMessages();
    VornDeviceConfig device {};
    ASSERT_EQ(vornGetFastDeviceConfig(kGroup, 0, &device), 1);
    ASSERT_EQ(vornStartFrameStream(kGroup), 1) << takeMessages();
    vorn::sim::Rs232Line& line = simulator->line(0);
    // A well-formed record of noise, then a byte no record starts with.
    std::vector<uint8_t> noise(12, 0x00);
    noise[0] = 0x81;
    noise.push_back(0x05);
    const std::function<void()> faults[] = {
        [&] { line.duplicateBytes(1); },
        [&] { line.dropBytes(2); },
        [&] { line.duplicateBytes(3); },
        [&] { line.dropBytes(4); },
        [&] {
            line.stall(std::chrono::milliseconds(100));
            line.insertGarbage(noise);
        },
    };
    int refused = 0;
    for (std::size_t fault = 0; fault < std::size(faults); ++fault) {
        faults[fault]();
        for (int i = 0; i < 6; ++i) {
            VornFrame frame {};
            if (vornGetFrame(kGroup, &frame) == 1) {
                EXPECT_TRUE(vorn::sim::sentReadings().contains(0, frame.reading[0])) << "after fault " << fault;
                continue;
            }
            EXPECT_EQ(vornGetErrorCode(), VORN_ERR_PHASE) << takeMessages();
            ++refused;
        }
    }
    EXPECT_GE(refused, 5);
    VornFrame frame {};
    EXPECT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
}

} // namespace
