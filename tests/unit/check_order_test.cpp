// Every group export against every check that can refuse it: the message
// (naming the export) and the error code, with all other checks passing.
#include "frame_fixture.h"

#include <functional>
#include <map>

using vorn::ConnectionMode;
using vorn::testing::GroupState;
using vorn::testing::installGroup;

namespace {

VornSystemConfig systemConfig;
VornDeviceConfig deviceConfig;
VornReading reading;
VornFrame frame;
unsigned char bytes[16];

void onFrameReady(int, uintptr_t) {}

// Each group export called with good arguments (unit 1, real records).
const std::map<std::string, std::function<int(int)>>& groupExports()
{
    static const std::map<std::string, std::function<int(int)>> calls = {
        {"vornGetSystemConfig", [](int g) { return vornGetSystemConfig(g, &systemConfig); }},
        {"vornSetSystemConfig", [](int g) { return vornSetSystemConfig(g, &systemConfig); }},
        {"vornGetDeviceConfig", [](int g) { return vornGetDeviceConfig(g, 1, &deviceConfig); }},
        {"vornSetDeviceConfig", [](int g) { return vornSetDeviceConfig(g, 1, &deviceConfig); }},
        {"vornGetFastDeviceConfig", [](int g) { return vornGetFastDeviceConfig(g, 1, &deviceConfig); }},
        {"vornSetFastDeviceConfig", [](int g) { return vornSetFastDeviceConfig(g, 1, &deviceConfig); }},
        {"vornStartReading", [](int g) { return vornStartReading(g, 1); }},
        {"vornGetReading", [](int g) { return vornGetReading(g, 1, &reading); }},
        {"vornReadingReady", [](int g) { return vornReadingReady(g, 1); }},
        {"vornStartSingleFrame", [](int g) { return vornStartSingleFrame(g); }},
        {"vornStartFrameStream", [](int g) { return vornStartFrameStream(g); }},
        {"vornGetFrame", [](int g) { return vornGetFrame(g, &frame); }},
        {"vornGetMostRecentFrame", [](int g) { return vornGetMostRecentFrame(g, &frame); }},
        {"vornFrameReady", [](int g) { return vornFrameReady(g); }},
        {"vornStopFrameStream", [](int g) { return vornStopFrameStream(g); }},
        {"vornStartFrameReadyCallback", [](int g) { return vornStartFrameReadyCallback(g, &onFrameReady, 7); }},
        {"vornStopFrameReadyCallback", [](int g) { return vornStopFrameReadyCallback(g); }},
        {"vornEnableMeasurementCycleReporting", [](int g) { return vornEnableMeasurementCycleReporting(g); }},
        {"vornDisableMeasurementCycleReporting", [](int g) { return vornDisableMeasurementCycleReporting(g); }},
        {"vornNewMeasurementCycle", [](int g) { return vornNewMeasurementCycle(g); }},
        {"vornTCPIPSendCommand", [](int g) { return vornTCPIPSendCommand(g, bytes, 16); }},
        {"vornTCPIPGetResponse", [](int g) { return vornTCPIPGetResponse(g, bytes, 16); }},
        {"vornTCPIPClearBuffer", [](int g) { return vornTCPIPClearBuffer(g); }},
        {"vornRS232SendCommand", [](int g) { return vornRS232SendCommand(g, 1, bytes, 3); }},
        {"vornRS232GetResponse", [](int g) { return vornRS232GetResponse(g, 1, bytes, 3); }},
        {"vornRS232ClearBuffer", [](int g) { return vornRS232ClearBuffer(g, 1); }},
        {"vornRS232Resynch", [](int g) { return vornRS232Resynch(g); }},
        {"vornRS232Reset", [](int g) { return vornRS232Reset(g); }},
        {"vornRS232SetGroupMode", [](int g) { return vornRS232SetGroupMode(g, 2); }},
        {"vornRS232GroupModeEnabled", [](int g) { return vornRS232GroupModeEnabled(g); }},
        {"vornRS232NonGroupModeAllowed", [](int g) { return vornRS232NonGroupModeAllowed(g); }},
        {"vornISASendCommand", [](int g) { return vornISASendCommand(g, 1, bytes, 4); }},
        {"vornISAGetResponse", [](int g) { return vornISAGetResponse(g, 1, bytes, 2); }},
        {"vornISAClearBuffer", [](int g) { return vornISAClearBuffer(g, 1); }},
        {"vornISAResynch", [](int g) { return vornISAResynch(g); }},
        {"vornISAReset", [](int g) { return vornISAReset(g); }},
    };
    return calls;
}

const std::map<std::string, std::function<int(int)>>& wakeUps()
{
    static const uint16_t ports[] = {0, 1, 2};
    static const std::map<std::string, std::function<int(int)>> calls = {
        {"vornTCPIPWakeUp", [](int g) { return vornTCPIPWakeUp(g, "127.0.0.1", 5000, 2); }},
        {"vornRS232WakeUp", [](int g) { return vornRS232WakeUp(g, 0, 2, ports, 115200, 100, 100); }},
        {"vornISAWakeUp", [](int g) { return vornISAWakeUp(g, 0, 2, ports, 100, 100); }},
        {"vornPV2WakeUp", [](int g) { return vornPV2WakeUp(g, 0x300, 100, 100); }},
    };
    return calls;
}

std::string withName(std::string pattern, const std::string& name)
{
    pattern.replace(pattern.find("%s"), 2, name);
    return pattern;
}

// A group state, and the exports it refuses with one message.
struct Refusal {
    const char* what;
    ConnectionMode mode;
    GroupState state;
    const char* message;
    std::vector<std::string> exports;
};

const std::vector<std::string> kConfig = {"vornGetSystemConfig", "vornSetSystemConfig",     "vornGetDeviceConfig",
                                          "vornSetDeviceConfig", "vornGetFastDeviceConfig", "vornSetFastDeviceConfig"};

std::vector<std::string> plus(std::vector<std::string> list, std::initializer_list<std::string> more)
{
    list.insert(list.end(), more);
    return list;
}

const std::vector<Refusal> kRefusals = {
    {"before wake-up",
     ConnectionMode::None,
     {},
     "Illegal call to %s() before vorns are woken up.",
     plus(kConfig,
          {"vornStartReading", "vornGetReading", "vornReadingReady", "vornStartSingleFrame", "vornStartFrameStream",
           "vornGetFrame", "vornGetMostRecentFrame", "vornFrameReady", "vornStopFrameStream",
           "vornEnableMeasurementCycleReporting", "vornDisableMeasurementCycleReporting", "vornNewMeasurementCycle"})},
    {"streaming",
     ConnectionMode::Rs232,
     {.streaming = true},
     "Illegal call to %s() while streaming data.",
     plus(kConfig, {"vornStartReading", "vornGetReading", "vornReadingReady", "vornStartSingleFrame",
                    "vornStartFrameStream", "vornEnableMeasurementCycleReporting"})},
    {"not streaming",
     ConnectionMode::Rs232,
     {},
     "Illegal call to %s() while not streaming data.",
     {"vornStopFrameStream", "vornGetMostRecentFrame", "vornRS232Resynch"}},
    {"not streaming on ISA",
     ConnectionMode::Isa,
     {},
     "Illegal call to %s() while not streaming data.",
     {"vornISAResynch"}},
    {"reporting cycles",
     ConnectionMode::Rs232,
     {.reportingCycles = true},
     "Illegal call to %s() while reporting measurement cycles.",
     plus(kConfig, {"vornStartFrameStream", "vornEnableMeasurementCycleReporting"})},
    {"not reporting cycles",
     ConnectionMode::Isa,
     {},
     "Illegal call to %s() while not reporting measurement cycles.",
     {"vornNewMeasurementCycle", "vornDisableMeasurementCycleReporting"}},
    {"TCP/IP and reporting",
     ConnectionMode::TcpIp,
     {.reportingCycles = true},
     "Illegal call to %s() while not in RS232 or ISA mode.",
     {"vornStartReading", "vornGetReading", "vornReadingReady", "vornDisableMeasurementCycleReporting",
      "vornNewMeasurementCycle"}},
    {"TCP/IP",
     ConnectionMode::TcpIp,
     {},
     "Illegal call to %s() while not in RS232 or ISA mode.",
     {"vornEnableMeasurementCycleReporting"}},
    {"RS232",
     ConnectionMode::Rs232,
     {.streaming = true},
     "Illegal call to %s() while not in TCP/IP mode.",
     {"vornTCPIPSendCommand", "vornTCPIPGetResponse", "vornTCPIPClearBuffer"}},
    {"TCP/IP",
     ConnectionMode::TcpIp,
     {.streaming = true},
     "Illegal call to %s() while not in RS232 mode.",
     {"vornRS232SendCommand", "vornRS232GetResponse", "vornRS232ClearBuffer", "vornRS232Resynch", "vornRS232Reset",
      "vornRS232GroupModeEnabled"}},
    // Transport-level exports check only the mode, so before wake-up they name it.
    {"before wake-up",
     ConnectionMode::None,
     {},
     "Illegal call to %s() while not in RS232 mode.",
     {"vornRS232Reset", "vornRS232SendCommand"}},
    {"RS232",
     ConnectionMode::Rs232,
     {.streaming = true},
     "Illegal call to %s() while not in ISA mode.",
     {"vornISASendCommand", "vornISAGetResponse", "vornISAClearBuffer", "vornISAResynch", "vornISAReset"}},
    {"ISA vornset",
     ConnectionMode::Isa,
     {},
     "Illegal call to %s() while in multi-vorn ISA mode.",
     {"vornStartFrameStream"}},
    {"stand-alone RS232 (group mode automatic)",
     ConnectionMode::Rs232,
     {.standAlone = true},
     "Illegal call to %s() while group mode is enabled.",
     {"vornEnableMeasurementCycleReporting"}},
    // First failing check wins.
    {"streaming and reporting",
     ConnectionMode::Rs232,
     {.streaming = true, .reportingCycles = true},
     "Illegal call to %s() while streaming data.",
     kConfig},
    {"ISA vornset reporting",
     ConnectionMode::Isa,
     {.reportingCycles = true},
     "Illegal call to %s() while reporting measurement cycles.",
     {"vornStartFrameStream"}},
};

// A state in which every check of the export passes, so the worker runs.
struct Reaches {
    ConnectionMode mode;
    GroupState state;
    std::vector<std::string> exports;
};

const std::vector<Reaches> kReachesWorker = {
    {ConnectionMode::Rs232,
     {},
     plus(kConfig,
          {"vornStartReading", "vornGetReading", "vornReadingReady", "vornStartSingleFrame", "vornStartFrameStream",
           "vornGetFrame", "vornFrameReady", "vornRS232SendCommand", "vornRS232GetResponse", "vornRS232ClearBuffer",
           "vornRS232Reset", "vornEnableMeasurementCycleReporting"})},
    {ConnectionMode::Rs232, {.streaming = true}, {"vornGetMostRecentFrame", "vornStopFrameStream", "vornRS232Resynch"}},
    {ConnectionMode::Isa,
     {.reportingCycles = true},
     {"vornDisableMeasurementCycleReporting", "vornNewMeasurementCycle"}},
    {ConnectionMode::Isa,
     {.pv2 = true},
     {"vornStartFrameStream", "vornISASendCommand", "vornISAGetResponse", "vornISAClearBuffer", "vornISAReset"}},
    {ConnectionMode::Isa, {.streaming = true}, {"vornISAResynch"}},
    {ConnectionMode::TcpIp,
     {},
     {"vornTCPIPSendCommand", "vornTCPIPGetResponse", "vornTCPIPClearBuffer", "vornStartSingleFrame",
      "vornGetSystemConfig"}},
};

class CheckOrder : public FrameTest {};

TEST_F(CheckOrder, IdentifierOutOfRangeIsRefusedByEveryExport)
{
    auto all = groupExports();
    all.insert(wakeUps().begin(), wakeUps().end());
    for (const auto& [name, call] : all) {
        for (int id : {-1, 257, INT32_MIN}) {
            EXPECT_EQ(call(id), 0) << name;
            EXPECT_EQ(lastMessage(), "Illegal group ID passed to " + name + "().") << id;
            EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED) << name;
        }
    }
}

TEST_F(CheckOrder, EmptySlotIsRefusedByEveryGroupExport)
{
    for (const auto& [name, call] : groupExports()) {
        for (int id : {0, 256}) {
            EXPECT_EQ(call(id), 0) << name;
            EXPECT_EQ(lastMessage(), "Group ID passed to " + name + "() is not in use.");
            EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
        }
    }
}

TEST_F(CheckOrder, EachStateRefusesItsExportsWithTheirOwnName)
{
    for (const Refusal& refusal : kRefusals) {
        for (const std::string& name : refusal.exports) {
            SCOPED_TRACE(name + " " + refusal.what);
            installGroup(256, refusal.mode, refusal.state);
            EXPECT_EQ(groupExports().at(name)(256), 0);
            EXPECT_EQ(lastMessage(), withName(refusal.message, name));
            EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
            vornShutDown(256);
        }
    }
}

TEST_F(CheckOrder, PassingEveryCheckReachesTheExportsOwnWorker)
{
    for (const Reaches& reaches : kReachesWorker) {
        for (const std::string& name : reaches.exports) {
            SCOPED_TRACE(name);
            installGroup(3, reaches.mode, reaches.state);
            // No line, board or socket here: the worker fails honestly, and
            // the message (if any) is the worker's, not a check's.
            EXPECT_EQ(groupExports().at(name)(3), 0);
            const std::string message = lastMessage();
            EXPECT_EQ(message.find("Illegal call"), std::string::npos) << message;
            EXPECT_EQ(message.find("Group ID"), std::string::npos) << message;
            vornShutDown(3);
        }
    }
}

TEST_F(CheckOrder, SingleFrameIsRefusedForControllerSoftware1x)
{
    installGroup(5, ConnectionMode::TcpIp).systemConfig.softwareRevision = 0x0105;
    EXPECT_EQ(vornStartSingleFrame(5), 0);
    EXPECT_EQ(lastMessage(),
              "Illegal call to vornStartSingleFrame() while communicating with version 1.x Velmorasta software.");
}

TEST_F(CheckOrder, GroupModeQueriesOutsideRs232)
{
    installGroup(5, ConnectionMode::TcpIp);
    EXPECT_EQ(vornRS232GroupModeEnabled(5), 0);
    EXPECT_EQ(lastMessage(), "Illegal call to vornRS232GroupModeEnabled() while not in RS232 mode.");
    // The negation, message and all: outside RS232 "non-group mode" is allowed.
    EXPECT_EQ(vornRS232NonGroupModeAllowed(5), 1);
    EXPECT_EQ(lastMessage(), "Illegal call to vornRS232GroupModeEnabled() while not in RS232 mode.");
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
}

TEST_F(CheckOrder, GroupModeSettingDecidesMeasurementCycleReporting)
{
    installGroup(5, ConnectionMode::Rs232, {.standAlone = true});
    EXPECT_EQ(vornRS232GroupModeEnabled(5), 1);
    EXPECT_EQ(vornRS232NonGroupModeAllowed(5), 0);
    EXPECT_EQ(vornRS232SetGroupMode(5, 1), 1);
    EXPECT_EQ(vornRS232GroupModeEnabled(5), 0);
    EXPECT_EQ(vornRS232NonGroupModeAllowed(5), 1);
    EXPECT_EQ(vornEnableMeasurementCycleReporting(5), 0); // passes the check; no line to send on here
    EXPECT_EQ(lastMessage().find("group mode"), std::string::npos);
}

TEST_F(CheckOrder, BookkeepingExportsSucceedInEveryMode)
{
    for (ConnectionMode mode :
         {ConnectionMode::None, ConnectionMode::TcpIp, ConnectionMode::Rs232, ConnectionMode::Isa}) {
        vorn::VornGroup& group = installGroup(9, mode);
        for (int setting : {-5, 0, 1, 2, 99}) {
            EXPECT_EQ(vornRS232SetGroupMode(9, setting), 1);
            EXPECT_EQ(group.groupModeSetting, setting);
        }
        EXPECT_EQ(vornStartFrameReadyCallback(9, &onFrameReady, 42), 1);
        EXPECT_EQ(group.callback, &onFrameReady);
        EXPECT_EQ(group.userValue, 42u);
        EXPECT_EQ(vornStopFrameReadyCallback(9), 1);
        EXPECT_EQ(group.callback, nullptr);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(vornGetErrorCode(), VORN_ERR_NONE);
        vornShutDown(9);
    }
}

} // namespace
