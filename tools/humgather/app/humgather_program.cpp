#include "humgather_program.h"

#include <string>

#include "dialogues.h"
#include "protocol/factory_commands.h"

namespace vorn::humgather {

namespace {

constexpr int kMenuPositionAngles = 4;
constexpr int kMenuExamine = 14;
constexpr int kMenuChange = 15;
constexpr int kMenuNoise = 25;
constexpr int kMenuExit = 27;
// Samples to average is a 16-bit loop count on the unit's side of the dialogue.
constexpr std::int32_t kMostSamplesToAverage = 32766;

} // namespace

int HumgatherProgram::run()
{
    showBanner();
    askWorkMode();
    ProgramSettings& st = s_.settings;
    st.angleScale = kStandardAngleScale;
    st.samplesToAverage = 2000;
    st.currentAddress = 0;
    st.vornsetsToRead = st.vornsetsToExamine = 1;
    st.multipleVornsets = false;
    st.addresses.assign(1, 0);

    s_.console.clearScreen();
    if (!chooseAndOpenPort(s_))
        return 1;
    if (st.workMode == WorkMode::Operation) {
        s_.console.clearScreen();
        configureVornsets(s_);
        s_.console.clearScreen();
        if (s_.entry.askInt32(" DO ECHO/OK TEST ? NO ( 0 ),  YES ( 1 )  ", 0) == 1)
            runEchoTest(s_);
    }
    runStartupChecks(s_);
    if (st.workMode == WorkMode::NoiseAnalysis)
        runNoiseCollection(s_);
    askExtendedRange();
    operationalMenu();
    return 0;
}

void HumgatherProgram::showBanner()
{
    const std::string stars(63, '*');
    s_.console.clearScreen();
    s_.console.printLine();
    s_.console.printLine();
    s_.console.printLine();
    s_.console.printLine(stars);
    s_.console.printLine(s_.notices.notice);
    s_.console.printLine(stars);
    s_.console.pause(1.5);
}

void HumgatherProgram::askWorkMode()
{
    s_.console.clearScreen();
    for (;;) {
        s_.console.printLine("Environmental noise analysis to       ( 0 )  or");
        s_.console.printLine("determine best Vorn operating speed");
        s_.console.printLine();
        s_.console.printLine("Vorn operation                        ( 1 )");
        s_.console.printLine();
        s_.console.printLine();
        s_.console.printLine();
        const std::int32_t mode = s_.entry.askInt32("", 0);
        if (mode == 0 || mode == 1) {
            s_.settings.workMode = mode == 1 ? WorkMode::Operation : WorkMode::NoiseAnalysis;
            return;
        }
        // Anything else is not a choice; taking it as 0 would start a collection unasked.
        s_.console.clearScreen();
        s_.console.printLine("Please answer 0 or 1.");
    }
}

void HumgatherProgram::askExtendedRange()
{
    s_.console.clearScreen();
    if (s_.entry.askInt32(" running std vorn ( 0 ) or Extended Range ( 1 )  ", 0) == 1)
        s_.settings.positionScale = 144.0f / 32767.0f;
}

void HumgatherProgram::operationalMenu()
{
    while (menuPass()) {
    }
}

bool HumgatherProgram::menuPass()
{
    ProgramSettings& st = s_.settings;
    s_.console.clearScreen();
    for (const char* line :
         {"POSITION/ANGLES       ( 4 )", "EXAMINE VALUE         ( 14 )", "CHANGE VALUE          ( 15 )",
          "Read sensor for noise ( 25 )", "EXIT                  ( 27 )"})
        s_.console.printLine(line);
    s_.console.printLine();
    st.menuChoice = s_.entry.askInt32("", st.menuChoice);
    s_.console.clearScreen();
    if (st.menuChoice >= 1 && st.menuChoice <= 6)
        st.streamFlag = kStreamFlagStreaming;
    if (st.menuChoice == 3 || st.menuChoice == 4)
        askStatistics();
    s_.console.clearScreen();
    switch (st.menuChoice) {
    case kMenuPositionAngles: runPositionDisplay(s_); break;
    case kMenuExamine: runExamineMenu(s_); break;
    case kMenuChange: runChangeMenu(s_); break;
    case kMenuNoise: runNoiseCollection(s_); break;
    case kMenuExit: return false;
    default: break;
    }
    if (st.streaming()) {
        s_.link.sendByte(protocol::kStopStream);
        s_.link.flushInput();
    }
    s_.waitForKey();
    return true;
}

void HumgatherProgram::askStatistics()
{
    ProgramSettings& st = s_.settings;
    st.statisticsFlag = s_.entry.askInt32("noise statistics no ( 0 )  yes ( 1 ) ", st.statisticsFlag);
    if (st.statisticsFlag != 1)
        return;
    st.samplesToAverage = s_.entry.askInt32("Number of samples to average ", st.samplesToAverage);
    if (st.samplesToAverage <= 0)
        st.samplesToAverage = 1;
    if (st.samplesToAverage > kMostSamplesToAverage) {
        st.samplesToAverage = kMostSamplesToAverage;
        s_.console.printLine("At most " + std::to_string(kMostSamplesToAverage) + " samples are averaged; using " +
                             std::to_string(kMostSamplesToAverage) + ".");
    }
    st.delayBetweenAverages = s_.entry.askSingle("delay in seconds between averages ", st.delayBetweenAverages);
    if (st.delayBetweenAverages < 0)
        st.delayBetweenAverages = 0;
}

} // namespace vorn::humgather
