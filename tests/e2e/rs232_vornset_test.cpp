// A vornset of three units, the master on COM1 and units 2 and 3 behind it
// on the bus, from wake-up to shut-down: the exact bytes of each operation,
// what comes back, and the stream's recovery from a phase error.
#include "sim_fixture.h"

#include <chrono>
#include <cmath>

namespace {

constexpr int kGroup = 5;
const uint16_t kPorts[] = {0, 1, 0, 0};

class Rs232Vornset : public SimulatorTest {
protected:
    void wakeUp(vorn::sim::SimulatorConfig config)
    {
        startSimulator(std::move(config));
        ASSERT_EQ(vornRS232WakeUp(kGroup, 0, 3, kPorts, 115200, 500, 500), 1) << takeMessages();
    }

    // A stream of a few frames in which every unit 1..units delivers its own
    // sensor's data, at the measurement rate (not one frame per record).
    void expectStreamOfEveryUnit(int units)
    {
        ASSERT_EQ(vornStartFrameStream(kGroup), 1) << takeMessages();
        const auto start = std::chrono::steady_clock::now();
        constexpr int kFrames = 20;
        for (int n = 0; n < kFrames; ++n) {
            VornFrame frame {};
            ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
            for (int unit = 1; unit <= units; ++unit)
                EXPECT_NE(frame.reading[unit].position[0] | frame.reading[unit].position[1], 0)
                    << "unit " << unit << " in frame " << n;
            EXPECT_NE(frame.reading[1].position[0], frame.reading[2].position[0]);
        }
        // 103.3 Hz: 20 frames take about 190 ms; three records per frame would take a third of that.
        EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(120));
        EXPECT_EQ(vornStopFrameStream(kGroup), 1) << takeMessages();
    }
};

int callbackCalls = 0;
bool insideOwnCall = false;
bool calledInsideOwnCall = false;

void countCallback(int group, uintptr_t value)
{
    EXPECT_EQ(group, kGroup);
    EXPECT_EQ(value, 77u);
    ++callbackCalls;
    calledInsideOwnCall |= insideOwnCall;
}

TEST_F(Rs232Vornset, FromWakeUpToShutDown)
{
    wakeUp(vorn::sim::vornsetConfig(3));
    // Auto configuration for 3 units, then the system configuration of a
    // 3.67 master: status, error, revision, rate, address mode, vornset status.
    EXPECT_EQ(receivedAfter(1, 15),
              (Bytes {0x50, 0x32, 0x03, 0x4F, 0x00, 0x4F, 0x0A, 0x4F, 0x01, 0x4F, 0x07, 0x4F, 0x13, 0x4F, 0x24}));
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    receivedSinceLast(1);
    EXPECT_EQ(system.softwareRevision, 0x0343);
    EXPECT_EQ(system.numberOfUnits, 3);
    EXPECT_NEAR(system.measurementRate, 103.3, 0.01);
    EXPECT_EQ(system.unitStatus[0], 0);
    for (int unit = 1; unit <= 3; ++unit)
        EXPECT_NE(system.unitStatus[unit] & 0x20, 0) << "sensor of unit " << unit;
    EXPECT_EQ(system.unitStatus[4], 0);

    // Unit 2 has no line: every examine goes through the master with 0xF2.
    VornDeviceConfig devices[4] {};
    ASSERT_EQ(vornGetDeviceConfig(kGroup, 2, &devices[2]), 1) << takeMessages();
    Bytes expected;
    for (uint8_t parameter : {0, 1, 10, 4, 17, 14, 3, 5, 13, 12})
        expected.insert(expected.end(), {0xF2, 0x4F, parameter});
    EXPECT_EQ(receivedAfter(1, expected.size()), expected);
    EXPECT_EQ(devices[2].address, 2);
    EXPECT_EQ(devices[2].status & 0x04, 0x04);
    EXPECT_EQ(devices[2].dataFormat, 4);
    EXPECT_EQ(devices[2].reportRate, 1);
    ASSERT_EQ(vornGetDeviceConfig(kGroup, 1, &devices[1]), 1);
    ASSERT_EQ(vornGetFastDeviceConfig(kGroup, 3, &devices[3]), 1);
    expected.clear();
    for (uint8_t parameter : {0, 1, 10, 3}) // the fast get: status, revision, error, scaling
        expected.insert(expected.end(), {0xF3, 0x4F, parameter});
    auto received = receivedAfter(1, 20 + 12);
    EXPECT_EQ(Bytes(received.end() - static_cast<long>(expected.size()), received.end()), expected);

    // A fast set to unit 3: button mode, data format, scaling; no report rate.
    devices[3].dataFormat = 1;
    devices[3].scaling = 72;
    ASSERT_EQ(vornSetFastDeviceConfig(kGroup, 3, &devices[3]), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 10), (Bytes {0xF3, 0x4D, 0x00, 0xF3, 0x56, 0xF3, 0x50, 0x03, 0x01, 0x00}));
    // A normal set refuses format 6 after the switches went out, and keeps the stored copy.
    VornDeviceConfig bad = devices[3];
    bad.dataFormat = 6;
    EXPECT_EQ(vornSetDeviceConfig(kGroup, 3, &bad), 0);
    EXPECT_EQ(takeMessages(), "Illegal data format specified for vorn #3: 6.\n");
    EXPECT_EQ(receivedAfter(1, 16).size(), 4u + 3u + 3u + 3u + 3u); // filter, button, xyz, lock
    VornDeviceConfig stored {};
    ASSERT_EQ(vornGetFastDeviceConfig(kGroup, 3, &stored), 1);
    EXPECT_EQ(stored.dataFormat, 1);
    receivedSinceLast(1);

    // A normal set to the master: every command in order, words low byte first.
    VornDeviceConfig master = devices[1];
    master.setup = 0x07; // every filter on: the "off" mask is 0
    master.hemisphere = 2;
    for (int i = 0; i < 7; ++i) {
        master.alphaMin[i] = static_cast<uint16_t>(688 + i);
        master.alphaMax[i] = 0x7300;
        master.vm[i] = static_cast<uint16_t>(1 << i);
    }
    master.referenceFrame[0] = 16384;
    master.referenceFrame[1] = -1;
    master.angleAlign[2] = -16384;
    ASSERT_EQ(vornSetDeviceConfig(kGroup, 1, &master), 1) << takeMessages();
    Bytes normalSet {0x50, 0x04, 0x00, 0x00, 0x4D, 0x00, 0x50, 0x11, 0x00, 0x50, 0x0E, 0x00,
                     0x59, 0x51, 0x50, 0x03, 0x00, 0x00, 0x4C, 0x0C, 0x01, 0x50, 0x05};
    for (int i = 0; i < 7; ++i)
        normalSet.insert(normalSet.end(), {static_cast<uint8_t>(0xB0 + i), 0x02});
    normalSet.insert(normalSet.end(), {0x50, 0x0D});
    for (int i = 0; i < 7; ++i)
        normalSet.insert(normalSet.end(), {0x00, 0x73});
    normalSet.insert(normalSet.end(), {0x50, 0x0C});
    for (int i = 0; i < 7; ++i)
        normalSet.insert(normalSet.end(), {static_cast<uint8_t>(1 << i), 0x00});
    normalSet.insert(normalSet.end(),
                     {0x72, 0x00, 0x40, 0xFF, 0xFF, 0x00, 0x00, 0x71, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0});
    EXPECT_EQ(receivedAfter(1, normalSet.size()), normalSet);
    VornDeviceConfig readBack {};
    ASSERT_EQ(vornGetDeviceConfig(kGroup, 1, &readBack), 1);
    EXPECT_EQ(readBack.setup, 0x07);
    EXPECT_EQ(readBack.alphaMin[6], 694);
    EXPECT_EQ(readBack.vm[6], 64);
    EXPECT_EQ(readBack.hemisphere, 2); // never read back: the stored copy
    master.reportRate = 4;             // only 1, 2, 8, 32 exist
    EXPECT_EQ(vornSetDeviceConfig(kGroup, 1, &master), 0);
    EXPECT_NE(takeMessages().find("Illegal report rate specified for vorn #1: 4."), std::string::npos);
    receivedAfter(1, 20 + 13); // the get, then the set up to the refused report rate

    // Two single frames: group mode is switched on once.
    VornFrame frame {};
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1) << takeMessages();
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1);
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 5), (Bytes {0x50, 0x23, 0x01, 0x42, 0x42}));
    for (int unit = 1; unit <= 3; ++unit) {
        const double inches = std::hypot(frame.reading[unit].position[0], frame.reading[unit].position[1]) *
                              devices[unit].scaling / 32767.0;
        EXPECT_GT(inches, 1.0) << "unit " << unit;
    }
    EXPECT_EQ(frame.reading[3].angles[0], 0); // unit 3 sends position only now
    EXPECT_EQ(frame.reading[0].position[0], 0);
    EXPECT_EQ(frame.reading[4].position[0], 0);

    // A reading right after: group mode off first, then the point to unit 2.
    VornReading reading {};
    ASSERT_EQ(vornStartReading(kGroup, 2), 1);
    ASSERT_EQ(vornGetReading(kGroup, 2, &reading), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 5), (Bytes {0x50, 0x23, 0x00, 0xF2, 0x42}));
    EXPECT_NE(reading.position[0] | reading.position[1], 0);

    // A stream: group mode on, then "@".
    ASSERT_EQ(vornStartFrameStream(kGroup), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 4), (Bytes {0x50, 0x23, 0x01, 0x40}));
    uint32_t lastTime = 0;
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
        EXPECT_GE(frame.time, lastTime);
        lastTime = frame.time;
    }

    // A corrupted phasing bit: code 33 once, and the next frame is right.
    simulator->line(1).corruptPhasingBits(1);
    int failures = 0;
    for (int i = 0; i < 40 && failures == 0; ++i)
        failures += vornGetFrame(kGroup, &frame) == 0;
    ASSERT_EQ(failures, 1);
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_PHASE);
    EXPECT_NE(takeMessages().find("Phasing bit was not set for vorn #"), std::string::npos);
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    EXPECT_NE(frame.reading[1].position[0] | frame.reading[1].position[1], 0);

    // The newest frame drains what waits; afterwards nothing is ready.
    vornHostPump(100);
    ASSERT_EQ(vornGetMostRecentFrame(kGroup, &frame), 1) << takeMessages();
    EXPECT_GE(frame.time, lastTime);
    EXPECT_EQ(vornFrameReady(kGroup), 0);

    // The callback fires once per frame the caller takes, never inside a
    // waiting call of its own group.
    ASSERT_EQ(vornStartFrameReadyCallback(kGroup, &countCallback, 77), 1);
    vornHostPump(100);
    EXPECT_EQ(callbackCalls, 1);
    for (int i = 0; i < 10; ++i) {
        insideOwnCall = true;
        ASSERT_EQ(vornGetFrame(kGroup, &frame), 1);
        insideOwnCall = false;
        vornHostPump(20);
    }
    EXPECT_GE(callbackCalls, 5);
    EXPECT_FALSE(calledInsideOwnCall);
    ASSERT_EQ(vornStopFrameReadyCallback(kGroup), 1);

    // Configuration is refused while streaming; the stop is a point command.
    EXPECT_EQ(vornGetSystemConfig(kGroup, &system), 0);
    EXPECT_EQ(takeMessages(), "Illegal call to vornGetSystemConfig() while streaming data.\n");
    receivedSinceLast(1);
    ASSERT_EQ(vornStopFrameStream(kGroup), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 1), (Bytes {0x42}));
    EXPECT_EQ(vornStopFrameStream(kGroup), 0);
    EXPECT_EQ(takeMessages(), "Illegal call to vornStopFrameStream() while not streaming data.\n");
    EXPECT_TRUE(receivedNothing(1));

    vornShutDown(kGroup);
    EXPECT_EQ(vornGetFrame(kGroup, &frame), 0);
    EXPECT_EQ(takeMessages(), "Group ID passed to vornGetFrame() is not in use.\n");
}

TEST_F(Rs232Vornset, MasterBefore364SendsNoTagAfterItsOwnRecord)
{
    auto config = vorn::sim::vornsetConfig(3);
    for (auto& unit : config.units)
        unit.softwareRevision = 0x033E; // 3.62: rate as a count, no address mode, no master tag
    wakeUp(config);
    EXPECT_EQ(receivedAfter(1, 15),
              (Bytes {0x50, 0x32, 0x03, 0x4F, 0x00, 0x4F, 0x0A, 0x4F, 0x01, 0x4F, 0x06, 0x4F, 0x02, 0x4F, 0x24}));
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    EXPECT_EQ(system.crystalSpeed, 20);
    EXPECT_NEAR(system.measurementRate, 103.3, 0.5);
    VornDeviceConfig device {};
    for (int unit = 1; unit <= 3; ++unit)
        ASSERT_EQ(vornGetFastDeviceConfig(kGroup, unit, &device), 1);

    VornFrame frame {};
    ASSERT_EQ(vornStartFrameStream(kGroup), 1) << takeMessages();
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    ASSERT_EQ(vornStopFrameStream(kGroup), 1);

    // The rate goes out as a count of crystal cycles: (1e6 / 50 - 300) * 20 / 32 = 12312.
    receivedSinceLast(1);
    system.measurementRate = 50.0;
    ASSERT_EQ(vornSetSystemConfig(kGroup, &system), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 6), (Bytes {0x41, 0x00, 0x50, 0x06, 0x18, 0x30}));
}

} // namespace

namespace {

TEST_F(Rs232Vornset, EveryUnitOnItsOwnLineTakesFramesUnitByUnit)
{
    auto config = vorn::sim::vornsetConfig(2);
    config.units[1].ownLine = true; // unit 2 on COM2
    startSimulator(config);
    const uint16_t ports[] = {0, 1, 2};
    ASSERT_EQ(vornRS232WakeUp(kGroup, 0, 2, ports, 115200, 500, 500), 1) << takeMessages();
    VornDeviceConfig device {};
    for (int unit = 1; unit <= 2; ++unit)
        ASSERT_EQ(vornGetFastDeviceConfig(kGroup, unit, &device), 1);
    // Automatic: every unit with data has a line, so no group mode.
    EXPECT_EQ(vornRS232GroupModeEnabled(kGroup), 0);
    EXPECT_EQ(vornRS232NonGroupModeAllowed(kGroup), 1);
    receivedSinceLast(1);
    receivedSinceLast(2);

    VornFrame frame {};
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1) << takeMessages();
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 1), (Bytes {0x42}));
    EXPECT_EQ(receivedAfter(2, 1), (Bytes {0x42}));
    EXPECT_NE(frame.reading[1].position[0] | frame.reading[1].position[1], 0);
    EXPECT_NE(frame.reading[2].position[0] | frame.reading[2].position[1], 0);

    // Unit 2's own line can be cleared; with group mode forced on, frames go through the master.
    EXPECT_EQ(vornRS232ClearBuffer(kGroup, 2), 1);
    EXPECT_EQ(vornRS232SetGroupMode(kGroup, 2), 1);
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1);
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(1, 4), (Bytes {0x50, 0x23, 0x01, 0x42}));
    EXPECT_NE(frame.reading[2].position[0] | frame.reading[2].position[1], 0);

    // Back to automatic: a stream still comes through the master, unit 2's included.
    EXPECT_EQ(vornRS232SetGroupMode(kGroup, 0), 1);
    expectStreamOfEveryUnit(2);
}

TEST_F(Rs232Vornset, GroupModeOffStillStreamsEveryUnitThroughTheMaster)
{
    wakeUp(vorn::sim::vornsetConfig(3));
    VornDeviceConfig device {};
    for (int unit = 1; unit <= 3; ++unit)
        ASSERT_EQ(vornGetFastDeviceConfig(kGroup, unit, &device), 1);
    EXPECT_EQ(vornRS232SetGroupMode(kGroup, 1), 1);
    expectStreamOfEveryUnit(3);
}

} // namespace
