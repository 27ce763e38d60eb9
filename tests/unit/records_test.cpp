// The four public records and the error codes are a binary contract: sizes,
// offsets and numbers must not drift.
#include <vorn/vorn.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

// Programs built against an earlier header compare with these numbers.
static_assert(VORN_ERR_NONE == 0 && VORN_ERR_FAILED == 1);
static_assert(VORN_ERR_TCPIP_READ == 16 && VORN_ERR_TCPIP_PACKET_TYPE == 18 && VORN_ERR_TCPIP_ADDRESS == 19 &&
              VORN_ERR_TCPIP_RECORD == 20);
static_assert(VORN_ERR_RS232_READ == 32 && VORN_ERR_PHASE == 33 && VORN_ERR_PHASE_LOST == 34 &&
              VORN_ERR_DATA_READY == 35 && VORN_ERR_ISA_READ == 48);

static_assert(sizeof(VornSystemConfig) == 152);
static_assert(alignof(VornSystemConfig) == 8);
static_assert(offsetof(VornSystemConfig, systemStatus) == 0);
static_assert(offsetof(VornSystemConfig, errorCode) == 1);
static_assert(offsetof(VornSystemConfig, numberOfUnits) == 2);
static_assert(offsetof(VornSystemConfig, controllerField1) == 3);
static_assert(offsetof(VornSystemConfig, transmitter) == 4);
static_assert(offsetof(VornSystemConfig, crystalSpeed) == 6);
static_assert(offsetof(VornSystemConfig, measurementRate) == 8);
static_assert(offsetof(VornSystemConfig, controllerField2) == 16);
static_assert(offsetof(VornSystemConfig, controllerField3) == 17);
static_assert(offsetof(VornSystemConfig, controllerField4) == 18);
static_assert(offsetof(VornSystemConfig, softwareRevision) == 20);
static_assert(offsetof(VornSystemConfig, unitStatus) == 22);

static_assert(sizeof(VornDeviceConfig) == 68);
static_assert(alignof(VornDeviceConfig) == 2);
static_assert(offsetof(VornDeviceConfig, status) == 0);
static_assert(offsetof(VornDeviceConfig, status2) == 1);
static_assert(offsetof(VornDeviceConfig, softwareRevision) == 2);
static_assert(offsetof(VornDeviceConfig, errorCode) == 4);
static_assert(offsetof(VornDeviceConfig, setup) == 5);
static_assert(offsetof(VornDeviceConfig, dataFormat) == 6);
static_assert(offsetof(VornDeviceConfig, reportRate) == 7);
static_assert(offsetof(VornDeviceConfig, scaling) == 8);
static_assert(offsetof(VornDeviceConfig, hemisphere) == 10);
static_assert(offsetof(VornDeviceConfig, address) == 11);
static_assert(offsetof(VornDeviceConfig, transmitterType) == 12);
static_assert(offsetof(VornDeviceConfig, alphaMin) == 14);
static_assert(offsetof(VornDeviceConfig, alphaMax) == 28);
static_assert(offsetof(VornDeviceConfig, vm) == 42);
static_assert(offsetof(VornDeviceConfig, referenceFrame) == 56);
static_assert(offsetof(VornDeviceConfig, angleAlign) == 62);

static_assert(sizeof(VornReading) == 40);
static_assert(alignof(VornReading) == 2);
static_assert(offsetof(VornReading, position) == 0);
static_assert(offsetof(VornReading, angles) == 6);
static_assert(offsetof(VornReading, matrix) == 12);
static_assert(offsetof(VornReading, quaternion) == 30);
static_assert(offsetof(VornReading, button) == 38);

static_assert(sizeof(VornFrame) == 5084);
static_assert(alignof(VornFrame) == 4);
static_assert(offsetof(VornFrame, time) == 0);
static_assert(offsetof(VornFrame, reading) == 4);

TEST(DllVersion, WritesExactlyFiveBytes)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    vornGetDllVersion(buffer);
    EXPECT_STREQ(buffer, "3.07");
    EXPECT_EQ(buffer[5], 'x');
}
