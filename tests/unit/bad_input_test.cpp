// Null pointers, units outside 0..126 and impossible unit counts are refused
// with a message, never dereferenced or used as an index.
#include "frame_fixture.h"

#include "exports/group_table.h"

#include <functional>

using vorn::ConnectionMode;
using vorn::testing::installGroup;

namespace {

class BadInput : public FrameTest {};

struct Case {
    std::function<int(int)> call;
    std::string message;
};

TEST_F(BadInput, NullPointersAreRefusedAfterTheSlotCheck)
{
    const std::vector<Case> cases = {
        {[](int g) { return vornGetSystemConfig(g, nullptr); }, "Null record pointer passed to vornGetSystemConfig()."},
        {[](int g) { return vornSetSystemConfig(g, nullptr); }, "Null record pointer passed to vornSetSystemConfig()."},
        {[](int g) { return vornGetDeviceConfig(g, 1, nullptr); },
         "Null record pointer passed to vornGetDeviceConfig()."},
        {[](int g) { return vornSetDeviceConfig(g, 1, nullptr); },
         "Null record pointer passed to vornSetDeviceConfig()."},
        {[](int g) { return vornGetFastDeviceConfig(g, 1, nullptr); },
         "Null record pointer passed to vornGetFastDeviceConfig()."},
        {[](int g) { return vornSetFastDeviceConfig(g, 1, nullptr); },
         "Null record pointer passed to vornSetFastDeviceConfig()."},
        {[](int g) { return vornGetReading(g, 1, nullptr); }, "Null record pointer passed to vornGetReading()."},
        {[](int g) { return vornGetFrame(g, nullptr); }, "Null record pointer passed to vornGetFrame()."},
        {[](int g) { return vornGetMostRecentFrame(g, nullptr); },
         "Null record pointer passed to vornGetMostRecentFrame()."},
        {[](int g) { return vornStartFrameReadyCallback(g, nullptr, 0); },
         "Null callback passed to vornStartFrameReadyCallback()."},
        {[](int g) { return vornTCPIPSendCommand(g, nullptr, 16); }, "Null buffer passed to vornTCPIPSendCommand()."},
        {[](int g) { return vornTCPIPGetResponse(g, nullptr, 1); }, "Null buffer passed to vornTCPIPGetResponse()."},
        {[](int g) { return vornRS232SendCommand(g, 1, nullptr, 3); }, "Null buffer passed to vornRS232SendCommand()."},
        {[](int g) { return vornRS232GetResponse(g, 1, nullptr, 3); }, "Null buffer passed to vornRS232GetResponse()."},
        {[](int g) { return vornISASendCommand(g, 1, nullptr, 4); }, "Null buffer passed to vornISASendCommand()."},
        {[](int g) { return vornISAGetResponse(g, 1, nullptr, 2); }, "Null buffer passed to vornISAGetResponse()."},
    };
    for (const Case& c : cases) {
        // Before wake-up, so the argument is named before the state.
        installGroup(1, ConnectionMode::None);
        EXPECT_EQ(c.call(1), 0);
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
        vornShutDown(1);
        // An empty slot is still named first.
        EXPECT_EQ(c.call(1), 0);
        EXPECT_NE(lastMessage().find("is not in use"), std::string::npos) << c.message;
    }
}

TEST_F(BadInput, NullBufferWithZeroCountIsHarmless)
{
    installGroup(1, ConnectionMode::Rs232);
    // Past the checks to the worker, which has no line to send on here.
    EXPECT_EQ(vornRS232SendCommand(1, 1, nullptr, 0), 0);
    EXPECT_EQ(lastMessage().find("Null"), std::string::npos);
}

TEST_F(BadInput, UnitsOutsideTheAddressRangeAreRefused)
{
    VornDeviceConfig config {};
    VornReading reading {};
    unsigned char bytes[4] {};
    const std::vector<std::pair<std::string, std::function<int(int, int)>>> perUnit = {
        {"vornGetDeviceConfig", [&](int g, int u) { return vornGetDeviceConfig(g, u, &config); }},
        {"vornSetDeviceConfig", [&](int g, int u) { return vornSetDeviceConfig(g, u, &config); }},
        {"vornGetFastDeviceConfig", [&](int g, int u) { return vornGetFastDeviceConfig(g, u, &config); }},
        {"vornSetFastDeviceConfig", [&](int g, int u) { return vornSetFastDeviceConfig(g, u, &config); }},
        {"vornStartReading", [](int g, int u) { return vornStartReading(g, u); }},
        {"vornGetReading", [&](int g, int u) { return vornGetReading(g, u, &reading); }},
        {"vornReadingReady", [](int g, int u) { return vornReadingReady(g, u); }},
        {"vornRS232SendCommand", [&](int g, int u) { return vornRS232SendCommand(g, u, bytes, 1); }},
        {"vornRS232GetResponse", [&](int g, int u) { return vornRS232GetResponse(g, u, bytes, 1); }},
        {"vornRS232ClearBuffer", [](int g, int u) { return vornRS232ClearBuffer(g, u); }},
        {"vornISASendCommand", [&](int g, int u) { return vornISASendCommand(g, u, bytes, 2); }},
        {"vornISAGetResponse", [&](int g, int u) { return vornISAGetResponse(g, u, bytes, 2); }},
        {"vornISAClearBuffer", [](int g, int u) { return vornISAClearBuffer(g, u); }},
    };
    installGroup(2, ConnectionMode::Rs232);
    for (const auto& [name, call] : perUnit) {
        for (int unit : {-1, 127, 100000}) {
            EXPECT_EQ(call(2, unit), 0);
            EXPECT_EQ(lastMessage(), "Illegal unit address " + std::to_string(unit) + " passed to " + name + "().");
        }
        call(2, 126); // the highest address passes on to the state checks or the worker
        EXPECT_EQ(lastMessage().find("Illegal unit address"), std::string::npos) << name;
    }
}

TEST_F(BadInput, WakeUpArgumentsAreCheckedBeforeAnythingIsTaken)
{
    const uint16_t ports[] = {1, 1};
    const std::vector<Case> cases = {
        {[](int g) { return vornTCPIPWakeUp(g, nullptr, 1, 1); }, "Null server address passed to vornTCPIPWakeUp()."},
        {[](int g) { return vornTCPIPWakeUp(g, "host", 1, 127); },
         "Illegal number of units 127 passed to vornTCPIPWakeUp()."},
        {[](int g) { return vornTCPIPWakeUp(g, "host", 1, -1); },
         "Illegal number of units -1 passed to vornTCPIPWakeUp()."},
        {[](int g) { return vornRS232WakeUp(g, 1, 1, nullptr, 9600, 1, 1); },
         "Null COM port array passed to vornRS232WakeUp()."},
        {[&](int g) { return vornRS232WakeUp(g, 0, 0, ports, 9600, 1, 1); },
         "Illegal number of units 0 passed to vornRS232WakeUp()."},
        {[&](int g) { return vornRS232WakeUp(g, 0, 127, ports, 9600, 1, 1); },
         "Illegal number of units 127 passed to vornRS232WakeUp()."},
        {[](int g) { return vornISAWakeUp(g, 0, 2, nullptr, 1, 1); },
         "Null base address array passed to vornISAWakeUp()."},
        {[&](int g) { return vornISAWakeUp(g, 0, 300, ports, 1, 1); },
         "Illegal number of units 300 passed to vornISAWakeUp()."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(8), 0);
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(vorn::groups::find(8), nullptr);
    }
    // A stand-alone unit ignores the count: the worker tries COM1.
    setenv("VORN_COM1", "/nonexistent/vorn-test-line", 1);
    EXPECT_EQ(vornRS232WakeUp(8, 1, 0, ports, 9600, 1, 1), 0);
    unsetenv("VORN_COM1");
    EXPECT_EQ(lastMessage(), "Unable to open comport 1.");
}

} // namespace
