#include "core/scripted_library.h"
#include "core/setup_flow.h"
#include "core/transmitter_mode.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace vornscope {
namespace {

using testing::ScriptedLibrary;

// Answers the flow's dialogs from a script, as an operator would.
class ScriptedPrompter final : public SetupPrompter {
public:
    std::deque<std::function<bool(Rs232SetupValues&)>> rs232;
    std::deque<std::function<bool(IsaSetupValues&)>> isa;
    std::deque<std::function<bool(TcpipSetupValues&)>> tcpip;
    std::deque<std::function<bool(const UnitDialogLook&, UnitEntry&)>> units;
    std::vector<Rs232SetupValues> rs232Shown;
    std::vector<std::pair<UnitDialogLook, UnitEntry>> unitsShown;
    std::vector<std::string> status;

    bool askRs232(Rs232SetupValues& v) override
    {
        rs232Shown.push_back(v);
        return next(rs232, v);
    }
    bool askIsa(IsaSetupValues& v) override { return next(isa, v); }
    bool askTcpip(TcpipSetupValues& v) override { return next(tcpip, v); }
    bool askUnit(const UnitDialogLook& look, UnitEntry& entry) override
    {
        unitsShown.emplace_back(look, entry);
        if (units.empty())
            return true;
        auto answer = units.front();
        units.pop_front();
        return answer(look, entry);
    }
    void showStatus(const char* text) override { status.emplace_back(text); }

private:
    template <typename Queue, typename Values> static bool next(Queue& queue, Values& values)
    {
        if (queue.empty())
            return false; // Cancel when the script has no more answers
        auto answer = queue.front();
        queue.pop_front();
        return answer(values);
    }
};

class ScriptedMessages final : public MessageSink {
public:
    std::deque<MessageAnswer> answers;
    std::vector<std::string> texts;
    MessageAnswer show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override
    {
        texts.push_back(text);
        EXPECT_EQ(caption, "Error");
        EXPECT_EQ(icon, MessageIcon::Stop);
        EXPECT_EQ(buttons, MessageButtons::AbortRetryIgnore);
        if (answers.empty())
            return MessageAnswer::Abort;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

auto accept()
{
    return [](auto&...) { return true; };
}
auto units(int count)
{
    return [count](Rs232SetupValues& v) {
        v.deviceCount = count;
        return true;
    };
}

class SetupFlowTest : public ::testing::Test {
protected:
    SetupFlowTest() : flow(library, prompter, messages, 4)
    {
        library.system.numberOfUnits = 1;
        library.system.unitStatus[0] = 0x61;
        library.devices[1].status = 0x46;
        library.devices[1].softwareRevision = 0x0343;
    }
    ScriptedLibrary library;
    ScriptedPrompter prompter;
    ScriptedMessages messages;
    SetupFlow flow;
};

TEST(UnitDialogLooks, CaptionsDefaultsAndEditRules)
{
    struct Case {
        Transport link;
        int count, unit;
        const char* label;
        int value;
        const char* first;
        const char* second;
        bool firstSelected;
        bool editWithSecond;
    };
    const Case cases[] = {
        {Transport::RS232, 1, 1, "Com Port", 1, "Not Standalone (1)", "Standalone (0)", true, true},
        {Transport::RS232, 3, 1, "Com Port", 1, "&Direct", "&FVB accessible", true, false},
        {Transport::RS232, 3, 2, "Com Port", 0, "&Direct", "&FVB accessible", false, false},
        {Transport::ISA, 1, 1, "Base Address (dec)", 512, "Not StandAlone (1)", "StandAlone (0)", true, true},
        {Transport::ISA, 2, 1, "Base Address (dec)", 512, "&Direct", "&FVB accessible", true, false},
        {Transport::ISA, 2, 2, "Base Address (dec)", 0, "&Direct", "&FVB accessible", false, false},
    };
    for (const auto& c : cases) {
        const auto look = unitDialogLook(c.link, c.count, c.unit);
        EXPECT_EQ(look.title, "Device " + std::to_string(c.unit));
        EXPECT_EQ(look.label, c.label);
        EXPECT_EQ(look.editDefault, c.value);
        EXPECT_EQ(look.firstCaption, c.first);
        EXPECT_EQ(look.secondCaption, c.second);
        EXPECT_EQ(look.firstSelected, c.firstSelected);
        EXPECT_TRUE(unitEditEnabled(look, true));
        EXPECT_EQ(unitEditEnabled(look, false), c.editWithSecond);
    }
}

TEST(WakeTables, StandAloneArgumentAndEntryZero)
{
    const auto alone = buildWakeTable({{}, {3, true}});
    EXPECT_EQ(alone.standAlone, 1);
    EXPECT_EQ(alone.entries, (std::vector<std::uint16_t> {3, 3}));
    const auto notAlone = buildWakeTable({{}, {3, false}});
    EXPECT_EQ(notAlone.standAlone, 0);
    EXPECT_EQ(notAlone.entries, (std::vector<std::uint16_t> {0, 3}));
    const auto chain = buildWakeTable({{}, {1, true}, {0, false}, {2, true}});
    EXPECT_EQ(chain.standAlone, 0);
    EXPECT_EQ(chain.entries, (std::vector<std::uint16_t> {0, 1, 0, 2}));
}

TEST_F(SetupFlowTest, OneRs232UnitStandAloneCallsInOrder)
{
    prompter.rs232 = {accept()};
    prompter.units = {[](const UnitDialogLook&, UnitEntry& e) {
        e.value = 2;
        return true;
    }};
    const SetupResult result = flow.runRs232();
    EXPECT_TRUE(result.setUp);
    EXPECT_TRUE(result.showComplete);
    const auto wake = library.named("rs232WakeUp");
    ASSERT_EQ(wake.size(), 1u);
    EXPECT_EQ(wake[0].standAlone, 1);
    EXPECT_EQ(wake[0].table, (std::vector<std::uint16_t> {2, 2}));
    const auto names = library.names();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
              (std::vector<std::string> {"shutDown", "rs232WakeUp", "getSystemConfig", "getDeviceConfig"}));
    EXPECT_EQ(prompter.status, (std::vector<std::string> {"Waking up vorn..."}));
    // Stand-alone: entry 0 of the unit status decides presence.
    EXPECT_TRUE(result.group->sensorPresent[1]);
    EXPECT_TRUE(result.group->hasTransmitter[1]);
    EXPECT_EQ(result.group->activeTransmitter, 1);
    EXPECT_EQ(result.group->modelCode[1], 0);
}

TEST_F(SetupFlowTest, StandaloneZeroChoicePassesZero)
{
    prompter.rs232 = {accept()};
    prompter.units = {[](const UnitDialogLook&, UnitEntry& e) {
        e.firstSelected = false;
        return true;
    }};
    flow.runRs232();
    EXPECT_EQ(library.named("rs232WakeUp").at(0).standAlone, 0);
    EXPECT_EQ(library.named("rs232WakeUp").at(0).table, (std::vector<std::uint16_t> {0, 1}));
}

TEST_F(SetupFlowTest, CancelOnThirdUnitDialogReturnsWithTypedValues)
{
    library.system.numberOfUnits = 3;
    prompter.rs232 = {[](Rs232SetupValues& v) {
                          v.deviceCount = 3;
                          v.baudIndex = 2;
                          v.readTimeout = 900;
                          return true;
                      },
                      accept()};
    prompter.units = {[](const UnitDialogLook&, UnitEntry& e) {
                          e.value = 5;
                          return true;
                      },
                      accept(), [](const UnitDialogLook&, UnitEntry&) { return false; }};
    const SetupResult result = flow.runRs232();
    ASSERT_EQ(prompter.rs232Shown.size(), 2u);
    EXPECT_EQ(prompter.rs232Shown[1].deviceCount, 3);
    EXPECT_EQ(prompter.rs232Shown[1].baudIndex, 2);
    EXPECT_EQ(prompter.rs232Shown[1].readTimeout, 900u);
    // The second pass shows unit 1 as typed and unit 3, never accepted, with its defaults.
    ASSERT_EQ(prompter.unitsShown.size(), 6u);
    EXPECT_EQ(prompter.unitsShown[3].second.value, 5);
    EXPECT_FALSE(prompter.unitsShown[5].second.firstSelected);
    EXPECT_EQ(prompter.unitsShown[5].second.value, 0);
    EXPECT_EQ(library.named("rs232WakeUp").size(), 1u);
    EXPECT_EQ(library.named("rs232WakeUp")[0].table, (std::vector<std::uint16_t> {0, 5, 0, 0}));
    EXPECT_TRUE(result.setUp);
}

TEST_F(SetupFlowTest, CancelledSetupDialogWakesNothing)
{
    const SetupResult result = flow.runRs232(); // the script cancels at once
    EXPECT_FALSE(result.attempted);
    EXPECT_FALSE(result.showComplete);
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(SetupFlowTest, RetryKeepsTypedValuesThenIgnoreStillSaysComplete)
{
    library.wakeSucceeds = false;
    prompter.rs232 = {units(2), accept()};
    prompter.units = {[](const UnitDialogLook&, UnitEntry& e) {
                          e.value = 4;
                          return true;
                      },
                      accept(), accept(), accept()};
    messages.answers = {MessageAnswer::Retry, MessageAnswer::Ignore};
    const SetupResult result = flow.runRs232();
    ASSERT_EQ(prompter.rs232Shown.size(), 2u);
    EXPECT_EQ(prompter.rs232Shown[1].deviceCount, 2);
    ASSERT_EQ(prompter.unitsShown.size(), 4u);
    EXPECT_EQ(prompter.unitsShown[2].second.value, 4); // unit 1 shows what was typed before
    EXPECT_EQ(messages.texts,
              (std::vector<std::string> {"Vorn did not respond properly", "Vorn did not respond properly"}));
    EXPECT_TRUE(result.attempted);
    EXPECT_FALSE(result.setUp);
    EXPECT_TRUE(result.showComplete);
    EXPECT_TRUE(result.group->failed);
}

TEST_F(SetupFlowTest, AbortEndsWithoutComplete)
{
    library.wakeSucceeds = false;
    prompter.rs232 = {accept()};
    messages.answers = {MessageAnswer::Abort};
    const SetupResult result = flow.runRs232();
    EXPECT_FALSE(result.setUp);
    EXPECT_FALSE(result.showComplete);
    EXPECT_TRUE(library.named("getSystemConfig").empty());
}

TEST_F(SetupFlowTest, IsaModelTwoSwitchesToPv2WithTheReportedUnitCount)
{
    library.models[1] = "PELLVORN2R";
    library.systemAfterPv2.numberOfUnits = 3;
    for (int unit = 1; unit <= 3; ++unit)
        library.devices[unit].status = 0x04;
    IsaSetupValues typed;
    prompter.isa = {[&](IsaSetupValues& v) {
        v.readTimeout = 700;
        typed = v;
        return true;
    }};
    prompter.units = {[](const UnitDialogLook&, UnitEntry& e) {
        e.value = 784;
        return true;
    }};
    const SetupResult result = flow.runIsa();
    ASSERT_TRUE(result.setUp);
    const auto pv2 = library.named("pv2WakeUp");
    ASSERT_EQ(pv2.size(), 1u);
    EXPECT_EQ(pv2[0].table, (std::vector<std::uint16_t> {784}));
    EXPECT_EQ(result.group->deviceCount, 3);
    EXPECT_EQ(result.group->transport, Transport::ISA);
    EXPECT_EQ(library.named("shutDown").size(), 2u);
    EXPECT_EQ(library.named("getDeviceConfig").size(), 4u); // one before, three after the switch
    // The model question went out padded to whole words.
    EXPECT_EQ(library.named("sendCommand").at(0).bytes, (std::vector<std::uint8_t> {'O', 15}));
}

TEST_F(SetupFlowTest, FailedPv2SwitchIsAFailedWakeUp)
{
    library.models[1] = "PELLVORN2 ";
    library.pv2Succeeds = false;
    prompter.isa = {accept()};
    messages.answers = {MessageAnswer::Abort};
    const SetupResult result = flow.runIsa();
    EXPECT_FALSE(result.setUp);
    EXPECT_TRUE(result.group->failed);
    EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(SetupFlowTest, TcpipTakesTheCountFromTheControllerAndRemembersTheServer)
{
    library.system.numberOfUnits = 2;
    library.system.unitStatus[2] = 0x10; // unit 2 is an extended-range controller: no sensor
    library.devices[1].status2 = 4;
    std::string server = "10.0.0.9";
    prompter.tcpip = {[](TcpipSetupValues& v) {
        EXPECT_EQ(v.serverAddress, "10.0.0.9");
        v.serverAddress = "127.0.0.1";
        return true;
    }};
    const SetupResult result = flow.runTcpip(server);
    EXPECT_EQ(server, "127.0.0.1");
    ASSERT_TRUE(result.setUp);
    EXPECT_EQ(result.group->deviceCount, 2);
    EXPECT_EQ(library.named("getFastDeviceConfig").size(), 2u);
    EXPECT_TRUE(library.named("sendCommand").empty());
    EXPECT_EQ(result.group->modelCode[1], 3);
    EXPECT_TRUE(result.group->sensorPresent[1]);
    EXPECT_FALSE(result.group->sensorPresent[2]);
}

TEST_F(SetupFlowTest, SlaveTransmitterOfPcVornIsCooledDown)
{
    library.system.numberOfUnits = 2;
    library.devices[2].status = 0x43; // unit 2 drives the active transmitter
    library.models[2] = "PCVORN    ";
    prompter.rs232 = {units(2)};
    flow.runRs232();
    const auto commands = library.named("sendCommand");
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back().unit, 1);
    EXPECT_EQ(commands.back().bytes, (std::vector<std::uint8_t> {'P', 18, 2}));
}

TEST_F(SetupFlowTest, DistortionRecordReadFromNewFirmware)
{
    library.devices[1].softwareRevision = 0x0353;
    library.examineAnswers[28] = {1, 0, 50, 0, 3, 0, 2, 0, 9, 0};
    prompter.rs232 = {accept()};
    const SetupResult result = flow.runRs232();
    const DistortionParams& d = result.group->distortionParams[1];
    EXPECT_TRUE(d.supported);
    EXPECT_TRUE(d.enabled);
    EXPECT_EQ(d.sensitivity, 50);
    EXPECT_EQ(d.offset, 3);
    EXPECT_EQ(d.slope, 2);
    EXPECT_EQ(d.alpha, 9);
    EXPECT_EQ(result.distortionSensor, 1);
}

TEST(TransmitterMode, ModelRules)
{
    const std::tuple<const char*, int, const char*> cases[] = {
        {"6DKVS     ", 0, "The pellVORN cannot be set to non-pulsed mode"},
        {"6DKVS     ", 1, nullptr},
        {"PELLVORN2 ", 1, "The dualISA can only be run in Cool-Down mode"},
        {"PELLVORN2X", 0, "The dualISA can only be run in Cool-Down mode"},
        {"PELLVORN2R", 2, nullptr},
        {"PCVORN    ", 0, "The pcVORN should not be run in non-pulsed mode"},
        {"PCVORN    ", 2, nullptr},
        {"6DKVA     ", 0, nullptr},
    };
    for (const auto& [model, mode, message] : cases) {
        const auto refusal = transmitterModeRefusal(model, mode);
        if (message == nullptr)
            EXPECT_FALSE(refusal) << model << mode;
        else
            EXPECT_EQ(refusal.value_or(""), message);
    }
}

TEST(TransmitterMode, AsksTheHighestDriverAndSendsToUnitOne)
{
    ScriptedLibrary library;
    CVornGroup group(2, Transport::RS232, false, 3);
    group.deviceConfig.assign(4, VornDeviceConfig {});
    library.devices[2].status = 0x43;
    library.devices[3].status = 0x43;
    library.models[3] = "6DKVS     ";
    auto result = setTransmitterMode(library, group, kNonPulsed);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "The pellVORN cannot be set to non-pulsed mode");
    EXPECT_EQ(library.named("sendCommand").back().unit, 3);

    library.calls.clear();
    result = setTransmitterMode(library, group, kPulsed);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(library.named("sendCommand").back().unit, 1);
    EXPECT_EQ(library.named("sendCommand").back().bytes, (std::vector<std::uint8_t> {'P', 18, 1}));

    group.transport = Transport::TCPIP;
    library.calls.clear();
    EXPECT_FALSE(setTransmitterMode(library, group, kPulsed).ok);
    EXPECT_TRUE(library.calls.empty());
}

TEST(TransmitterMode, IsaPadsOddCommands)
{
    ScriptedLibrary library;
    CVornGroup group(2, Transport::ISA, false, 1);
    group.deviceConfig.assign(2, VornDeviceConfig {});
    library.devices[1].status = 0x43;
    EXPECT_TRUE(setTransmitterMode(library, group, kCoolDown).ok);
    EXPECT_EQ(library.named("sendCommand").back().bytes, (std::vector<std::uint8_t> {'P', 18, 2, 0}));
}

} // namespace
} // namespace vornscope
