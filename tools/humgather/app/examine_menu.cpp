// Examine value: the menu, and the routine that asks each vornset and shows the answer.
#include <chrono>
#include <vector>

#include "dialogues.h"
#include "vorn/humgather/examine_answers.h"

namespace vorn::humgather {

namespace {

constexpr const char* kExamineMenu[] = {
    "Vorn Status                 ( 0 )   Software revision number    ( 1 )",
    "Vorn computer crystal speed ( 2 )   Maximum range scaling       ( 3 )",
    "FILTER ON/OFF status        ( 4 )   ALPHA_MIN table             ( 5 )",
    "Measurement rate count      ( 6 )",
    "Measurement rate            ( 7 )",
    "enable/disable data rdy chr ( 8 )",
    "Error code                  ( 10 )",
    "Error detect mask           ( 11 )",
    "Vm filter constants         ( 12 )",
    "ALPHA_MAX table             ( 13 )",
    "Sudden Output Change Lock   ( 14 )",
    "System Model Identification ( 15 )",
    "Transmitter Operation Mode  ( 18 )",
    "Filter Line Freq            ( 20 )",
    "Vorn Serial Number          ( 25 )",
    "Sensor Serial Number        ( 26 )",
    "Transmitter Serial Number   ( 27 )",
    "Metal Detection             ( 28 )",
    "Report Rate                 ( 29 )",
    "Group Mode                  ( 35 )",
    "System Status               ( 36 )",
    "AutoConfig                  ( 50 )",
};

void apply(const ExamineOutcome& outcome, ProgramSettings& st)
{
    if (outcome.revision)
        st.softwareRevision = *outcome.revision;
    if (outcome.crystalSpeedMHz) {
        st.crystalSpeedMHz = *outcome.crystalSpeedMHz;
        st.timerTickMicroseconds = 8.0f / static_cast<float>(st.crystalSpeedMHz);
    }
    if (outcome.positionScale)
        st.positionScale = *outcome.positionScale;
    if (outcome.groupModeFlag)
        st.groupModeFlag = *outcome.groupModeFlag;
}

void show(Session& s, const ExamineOutcome& outcome)
{
    std::size_t pause = 0;
    for (std::size_t i = 0; i < outcome.lines.size(); ++i) {
        s.console.printLine(outcome.lines[i]);
        if (pause < outcome.pauseAfterLine.size() && outcome.pauseAfterLine[pause] == i + 1) {
            s.waitForKey();
            ++pause;
        }
    }
}

constexpr int kNormalAddressing = 1;
constexpr int kExpandedAddressing = 2;
// How long the rest of an expanded-length answer may take after its normal-length part.
constexpr std::chrono::milliseconds kRestOfAnswer {300};
// An answer of unknown length is over once the line has been quiet this long.
constexpr std::chrono::milliseconds kQuietAfterAnswer {1000};
constexpr std::size_t kLongestUnknownAnswer = 256;

std::vector<std::uint8_t> receiveAnswer(Session& s, std::size_t length)
{
    std::vector<std::uint8_t> answer(length);
    s.link.receive(answer);
    return answer;
}

// A number whose answer length the command set does not give: whatever comes before the line
// goes quiet, so the menu comes back whatever the unit does.
std::vector<std::uint8_t> receiveAnswerAsItComes(Session& s)
{
    std::vector<std::uint8_t> answer(kLongestUnknownAnswer);
    answer.resize(s.link.receiveUntilQuiet(answer, kQuietAfterAnswer));
    return answer;
}

// Without the addressing answer the unit's answer may have either length: take the normal one,
// then the expanded rest if it follows at once, rather than wait for ever for bytes a unit in
// normal addressing never sends.
std::vector<std::uint8_t> receiveAnswerOfEitherLength(Session& s, int parameter)
{
    std::vector<std::uint8_t> answer = receiveAnswer(s, *examineAnswerLength(parameter, kNormalAddressing));
    const std::size_t normal = answer.size();
    answer.resize(*examineAnswerLength(parameter, kExpandedAddressing));
    if (!s.link.tryReceive(std::span(answer).subspan(normal), kRestOfAnswer))
        answer.resize(normal);
    return answer;
}

std::vector<std::uint8_t> receiveExamineAnswer(Session& s, int parameter, bool addressingUnknown)
{
    if (addressingUnknown)
        return receiveAnswerOfEitherLength(s, parameter);
    if (const auto length = examineAnswerLength(parameter, s.settings.addressingAnswer))
        return receiveAnswer(s, *length);
    return receiveAnswerAsItComes(s);
}

int addressingOfAnswer(int parameter, std::size_t length)
{
    return length == examineAnswerLength(parameter, kNormalAddressing) ? kNormalAddressing : kExpandedAddressing;
}

} // namespace

void runExamineMenu(Session& s)
{
    s.console.printLine("specify parameter to examine");
    for (const char* line : kExamineMenu)
        s.console.printLine(line);
    const std::uint8_t parameter = askByte(s, "", 0);
    s.console.clearScreen();
    examineValue(s, parameter);
}

void examineValue(Session& s, int parameter)
{
    ProgramSettings& st = s.settings;
    if (st.multipleVornsets) {
        const std::int32_t all = s.entry.askInt32(" examine master vornset only (0) or all vornsets (1)  ", 0);
        st.vornsetsToExamine = all == 1 ? st.vornsetsToRead : 1;
    }
    const bool addressingUnknown = needsAddressingWarning(parameter, st.addressingAnswer);
    if (addressingUnknown) {
        s.console.printLine(kAddressModeNotSetWarning);
        s.console.printLine();
    }
    for (int i = 1; i <= st.vornsetsToExamine; ++i) {
        st.currentAddress = st.addresses[static_cast<std::size_t>(i - 1)];
        s.sendToCurrentUnit({protocol::toByte(protocol::Command::ExamineValue), static_cast<std::uint8_t>(parameter)});
        const std::vector<std::uint8_t> answer = receiveExamineAnswer(s, parameter, addressingUnknown);
        const ExamineContext context {st.timerTickMicroseconds, addressingUnknown
                                                                    ? addressingOfAnswer(parameter, answer.size())
                                                                    : st.addressingAnswer};
        const ExamineOutcome outcome = describeExamineAnswer(parameter, answer, context);
        apply(outcome, st);
        show(s, outcome);
    }
}

} // namespace vorn::humgather
