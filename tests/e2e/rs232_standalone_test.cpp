// One stand-alone unit on COM1: no auto configuration, unit status 0x61,
// measurement cycles, readings, and rates that no unit word can hold.
#include "sim_fixture.h"

#include <limits>

namespace {

constexpr int kGroup = 256; // the highest identifier is a valid one
const uint16_t kPorts[] = {1};

class Rs232StandAlone : public SimulatorTest {};

TEST_F(Rs232StandAlone, WakeUpConfigurationCyclesAndReadings)
{
    startSimulator(vorn::sim::standAloneConfig());
    ASSERT_EQ(vornRS232WakeUp(kGroup, 1, 7, kPorts, 115200, 500, 500), 1) << takeMessages();
    // The system configuration right after the reset; no auto config, no bus status.
    EXPECT_EQ(receivedAfter(0, 8), (Bytes {0x4F, 0x00, 0x4F, 0x0A, 0x4F, 0x01, 0x4F, 0x07}));
    VornSystemConfig system {};
    ASSERT_EQ(vornGetSystemConfig(kGroup, &system), 1);
    EXPECT_EQ(system.numberOfUnits, 1);
    EXPECT_EQ(system.unitStatus[0], 0x61);
    for (int unit = 1; unit < VORN_UNIT_COUNT; ++unit)
        ASSERT_EQ(system.unitStatus[unit], 0) << unit;

    // Any unit address means the one unit; its commands need no prefix.
    VornDeviceConfig device {};
    ASSERT_EQ(vornGetDeviceConfig(kGroup, 9, &device), 1) << takeMessages();
    EXPECT_EQ(device.address, 0);
    receivedSinceLast(0);

    // Rates the unit's word cannot hold are refused before anything is sent.
    for (double bad :
         {0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 300.0}) {
        VornSystemConfig wrong = system;
        wrong.measurementRate = bad;
        EXPECT_EQ(vornSetSystemConfig(kGroup, &wrong), 0) << bad;
        EXPECT_NE(takeMessages().find("Illegal measurement rate specified for master vorn"), std::string::npos);
    }
    EXPECT_TRUE(receivedNothing(0));
    // 103.3 Hz is the word 26444; CRT sync with bits 0 and 1 is argument 2;
    // a stand-alone unit gets no next-transmitter command and reads back 0.
    system.measurementRate = 103.3;
    system.systemStatus = 0x03;
    system.transmitter = 0x21;
    ASSERT_EQ(vornSetSystemConfig(kGroup, &system), 1) << takeMessages();
    EXPECT_EQ(system.transmitter, 0);
    EXPECT_EQ(receivedAfter(0, 6), (Bytes {0x41, 0x02, 0x50, 0x07, 0x4C, 0x67}));

    // Cycle reporting needs group mode off; a stand-alone unit is "on" by default.
    EXPECT_EQ(vornEnableMeasurementCycleReporting(kGroup), 0);
    EXPECT_EQ(takeMessages(), "Illegal call to vornEnableMeasurementCycleReporting() while group mode is enabled.\n");
    EXPECT_EQ(vornRS232SetGroupMode(kGroup, 1), 1);
    ASSERT_EQ(vornEnableMeasurementCycleReporting(kGroup), 1) << takeMessages();
    EXPECT_EQ(receivedAfter(0, 3), (Bytes {0x50, 0x08, 0x01}));
    vornGetErrorCode();
    int cycles = 0;
    for (int i = 0; i < 50 && cycles < 3; ++i) {
        vornHostPump(10);
        cycles += vornNewMeasurementCycle(kGroup);
    }
    EXPECT_EQ(cycles, 3);
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_NONE);
    ASSERT_EQ(vornDisableMeasurementCycleReporting(kGroup), 1);
    EXPECT_EQ(receivedAfter(0, 3), (Bytes {0x50, 0x08, 0x00}));
    vornHostPump(50);
    ASSERT_EQ(vornRS232ClearBuffer(kGroup, 0), 1);

    // Single frames outside group mode read the unit on its own line.
    VornFrame frame {};
    ASSERT_EQ(vornStartSingleFrame(kGroup), 1) << takeMessages();
    ASSERT_EQ(vornGetFrame(kGroup, &frame), 1) << takeMessages();
    EXPECT_NE(frame.reading[0].position[0] | frame.reading[0].position[1], 0);
    EXPECT_EQ(receivedAfter(0, 1), (Bytes {0x42}));

    // A reading without a start waits out the read time-out and leaves the group usable.
    VornReading reading {};
    EXPECT_EQ(vornGetReading(kGroup, 0, &reading), 0);
    EXPECT_EQ(takeMessages(), "Unable to read 12 bytes from vorn #0.\nUnable to get reading from vorn #0.\n");
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_RS232_READ);
    ASSERT_EQ(vornStartReading(kGroup, 0), 1);
    ASSERT_EQ(vornGetReading(kGroup, 0, &reading), 1) << takeMessages();

    // Pass-through: examine the software revision by hand.
    const unsigned char examine[] = {0x4F, 0x01};
    unsigned char answer[2] = {};
    ASSERT_EQ(vornRS232SendCommand(kGroup, 0, examine, 2), 1);
    ASSERT_EQ(vornRS232GetResponse(kGroup, 0, answer, 2), 1);
    EXPECT_EQ(answer[0], 3);
    EXPECT_EQ(answer[1], 0x43);
    EXPECT_EQ(vornRS232GetResponse(kGroup, 0, answer, 0), 1);
    EXPECT_EQ(vornRS232Resynch(kGroup), 0);
    EXPECT_EQ(takeMessages(), "Illegal call to vornRS232Resynch() while not streaming data.\n");
}

TEST_F(Rs232StandAlone, MissingPortFailsAndLeavesTheSlotFree)
{
    startSimulator(vorn::sim::standAloneConfig());
    const uint16_t missing[] = {9};
    setenv("VORN_COM9", "/nonexistent/vorn-e2e", 1);
    EXPECT_EQ(vornRS232WakeUp(3, 1, 1, missing, 9600, 100, 100), 0);
    EXPECT_EQ(takeMessages(), "Unable to open comport 9.\n");
    const uint16_t noPort[] = {0};
    EXPECT_EQ(vornRS232WakeUp(3, 1, 1, noPort, 9600, 100, 100), 0);
    EXPECT_EQ(takeMessages(), "No comport was specified for stand-alone vorn in RS232WakeUp().\n");
    const uint16_t noMaster[] = {1, 0, 2};
    EXPECT_EQ(vornRS232WakeUp(3, 0, 2, noMaster, 9600, 100, 100), 0);
    EXPECT_EQ(takeMessages(), "No comport was specified for master vorn in RS232WakeUp().\n");
    VornFrame frame {};
    EXPECT_EQ(vornGetFrame(3, &frame), 0);
    EXPECT_EQ(takeMessages(), "Group ID passed to vornGetFrame() is not in use.\n");
}

} // namespace
