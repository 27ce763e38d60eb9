// Whole sessions on a pseudo-terminal against the simulator: the noise path, change codings,
// phasing errors, statistics, system status, the data file and the start-up failures.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "humgather_session.h"
#include "vorn/console/basic_number.h"
#include "vorn/console/leading_number.h"

namespace vorn::humgather {
namespace {

using namespace vorn::humgather::testing;

// A noise file line: sign place, a value in volts on the 5 V grid, one blank.
void expectNoiseLine(const std::string& line, std::size_t number)
{
    ASSERT_GE(line.size(), 3u) << "line " << number;
    ASSERT_TRUE(line[0] == ' ' || line[0] == '-') << "line " << number << ": \"" << line << "\"";
    ASSERT_EQ(line.back(), ' ') << "line " << number;
    const double volts = console::parseLeadingNumber(line);
    const double counts = volts * 32768.0 / 5.0;
    ASSERT_NEAR(counts, std::round(counts), 0.01) << "line " << number << ": \"" << line << "\"";
    ASSERT_EQ(console::basicNumber(static_cast<float>(volts)), line) << "line " << number;
}

TEST_F(HumgatherSession, EnterEverywhereRecordsTheNoiseFileAndHandsOverToHumsift)
{
    startUnit(40);
    if (IsSkipped())
        return;
    // A stand-in for Humsift that shows it ran, takes its time, and leaves a mark when done.
    dir_.write("humsift-stand-in",
               "#!/bin/sh\necho STAND-IN HUMSIFT $(wc -l < SENSORnoise.dat)\nsleep 1\necho done > humsift-ended\n");
    std::filesystem::permissions(dir_.file("humsift-stand-in"), std::filesystem::perms::owner_all);
    setenv("HUMSIFT", dir_.file("humsift-stand-in").c_str(), 1);

    PtySession s(HUMGATHER_PATH, dir_.path().string());
    answer(s, "Vorn operation                        ( 1 )", "");
    answer(s, "Input a baud number of 0-9  ", "");
    answer(s, "COM5    ( 5 )", "");
    ASSERT_TRUE(s.expect("** RS-232C COMMUNICATIONS WITH VORN IS OK**")) << s.screen();
    ASSERT_TRUE(s.expect("CPU crystal speed =  40  MHz")) << s.screen();
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE"); // the set-up instructions
    pressKeyAt(s, "hit any key to stop data collection");
    ASSERT_TRUE(s.expect("start collecting time ")) << s.screen();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(s.expect("end collecting time ", 30000)) << s.screen();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // 20 + 32768 samples of two bytes at 11520 bytes per second.
    const double lineSeconds = 2.0 * (32768 + 20) / 11520.0;
    std::cout << "collection of 32768 samples: " << seconds << " s, line time " << lineSeconds << " s ("
              << (seconds / lineSeconds - 1) * 100 << " % over)\n";
    RecordProperty("collection_seconds", std::to_string(seconds));

    pressKeyAt(s, "HIT ANY KEY TO CONTINUE"); // the statistics of the record
    if (!s.expect("Continue to analyze the noise for best measurement rate ( 0 )  or", 8000)) {
        pressKeyAt(s, "data just collected is possibly bad");
        answer(s, "Try again for good data ( 0 ), or just continue ( 1 ) ", "1");
    }
    answer(s, "Run Humgather to run your Vorn system            ( 1 )", "");
    ASSERT_TRUE(s.expect("STAND-IN HUMSIFT 32768")) << s.screen();
    ASSERT_TRUE(s.expect(" running std vorn ( 0 ) or Extended Range ( 1 )  ")) << s.screen();
    EXPECT_TRUE(std::filesystem::exists(dir_.file("humsift-ended"))) << "Humgather went on before Humsift ended";
    s.type("\r");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);

    std::istringstream file(dir_.read("SENSORnoise.dat"));
    std::string line;
    std::size_t lines = 0;
    while (std::getline(file, line)) {
        ASSERT_EQ(line.back(), '\r') << "line " << lines + 1;
        line.pop_back();
        expectNoiseLine(line, ++lines);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(lines, 32768u);
    // Test mode on, rate count 200, X receiver channel, stream; stop, reboot, out of test mode.
    const Bytes sent = received();
    EXPECT_TRUE(contains(sent, {'j', 200, 0})) << "no rate count";
    EXPECT_TRUE(contains(sent, {'@'}));
    EXPECT_TRUE(contains(sent, {'?', 'b', 'z'}));
}

TEST_F(HumgatherSession, ChangeValuesSendTheirCodings)
{
    if (!startAtMenu(20))
        return;
    PtySession& s = *session_;

    menu(s, "15");
    answer(s, " EXIT with no changes       ( 99 )", "6");
    answer(s, "enter measurement rate in cycles/sec ", "11");
    ASSERT_TRUE(s.expect("rate must be 12 or greater")) << s.screen();
    answer(s, "enter measurement rate in cycles/sec ", "12");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");

    menu(s, "15");
    answer(s, " EXIT with no changes       ( 99 )", "3");
    answer(s, "SET MAXIMUM RANGE TO 36 inches ( 0 ), or 72 inches ( 1 )  ", "2");
    answer(s, "SET MAXIMUM RANGE TO 36 inches ( 0 ), or 72 inches ( 1 )  ", "1");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");

    menu(s, "15");
    answer(s, " EXIT with no changes       ( 99 )", "4");
    answer(s, "turn OFF Adaptive DC filter  YES ( 1 ), NO ( 0 )   ", "1");
    answer(s, "turn OFF Wide notch AC filter  YES ( 1 ), NO ( 0 )  ", "0");
    answer(s, "turn OFF 2 cycle AC filter YES ( 1 ), NO ( 0 )  ", "1");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");

    menu(s, "15");
    answer(s, " EXIT with no changes       ( 99 )", "28");
    answer(s, " ( >1) to turn on and use all the parameters below", "2");
    answer(s, " input a  sensitivity multiplier between 1 and 127", "10");
    answer(s, "input an OFFSET between +/- 127 measured at a METALsensitivity=1.", "-5");
    answer(s, "input a SLOPE between +/- 127 measured at a METALsensitivity=1.", "3");
    answer(s, "default is 12", "12");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");

    menu(s, "15");
    answer(s, " EXIT with no changes       ( 99 )", "20");
    answer(s, "enter the power line frequency in Hz, usually 50 or 60  ", "300");
    ASSERT_TRUE(s.expect("The value must be between 0 and 255; 300 is not sent.")) << s.screen();
    answer(s, "enter the power line frequency in Hz, usually 50 or 60  ", "50");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");

    menu(s, "14");
    answer(s, "AutoConfig                  ( 50 )", "4");
    ASSERT_TRUE(s.expect("Adaptive DC filter is OFF")) << s.screen();
    ASSERT_TRUE(s.expect("AC Wide NOTCH filter is ON")) << s.screen();
    ASSERT_TRUE(s.expect("2 cycle AC filter is OFF")) << s.screen();
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);

    const Bytes sent = received();
    // 12 Hz at 20 MHz: ((1000 / 12 - 0.3) / 4) x 1000 / 0.4 = 51896 counts.
    EXPECT_TRUE(contains(sent, {'P', 6, 0xB8, 0xCA})) << "rate count";
    EXPECT_TRUE(contains(sent, {'P', 3, 1, 0})) << "range";
    EXPECT_FALSE(contains(sent, {'P', 3, 2, 0})) << "range 2 must not be sent";
    EXPECT_TRUE(contains(sent, {'P', 4, 5, 0})) << "filters";
    EXPECT_TRUE(contains(sent, {'P', 28, 2, 0, 10, 0, 251, 0, 3, 0, 12, 0})) << "metal detection";
    EXPECT_TRUE(contains(sent, {'P', 20, 50})) << "line frequency";
    EXPECT_FALSE(contains(sent, {'P', 20, 44})) << "300 must not go out as its low byte";
}

TEST_F(HumgatherSession, PhasingErrorIsShownAtRow22AndTheDisplayGoesOn)
{
    if (!startAtMenu(20))
        return;
    PtySession& s = *session_;
    menu(s, "4");
    answer(s, "noise statistics no ( 0 )  yes ( 1 ) ", "");
    answer(s, "Print on screen ( 0 ) or Store in a FILE ( 1 )   ", "");
    ASSERT_TRUE(s.expect("    X        Y         Z        Azim       Elev      Roll")) << s.screen();
    simulator_->line(0).corruptPhasingBits(1);
    ASSERT_TRUE(s.expect("\x1b[22;1HPHASING ERROR1  1 ")) << s.screen();
    ASSERT_TRUE(s.expect("    X        Y         Z        Azim       Elev      Roll")) << s.screen();
    s.type("q");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
    EXPECT_TRUE(contains(received(), {'?'})) << "the stream must be stopped";
}

TEST_F(HumgatherSession, StatisticsOfOneSampleShowNoSpread)
{
    if (!startAtMenu(20))
        return;
    PtySession& s = *session_;
    menu(s, "4");
    answer(s, "noise statistics no ( 0 )  yes ( 1 ) ", "1");
    answer(s, "Number of samples to average ", "1");
    answer(s, "delay in seconds between averages ", "");
    answer(s, "Print on screen ( 0 ) or Store in a FILE ( 1 )   ", "");
    ASSERT_TRUE(s.expect("\x1b[9;1HNOISE FOR  1  SAMPLES")) << s.screen();
    ASSERT_TRUE(s.expect("   MEAN")) << s.screen();
    ASSERT_TRUE(s.expect("\x1b[6;1H   0.00      0.00      0.00      0.00      0.00      0.00      PEAK TO PEAK VAR"))
        << s.screen();
    ASSERT_TRUE(s.expect("\x1b[7;1H   0.00      0.00      0.00      0.00      0.00      0.00      STD DEVIATION"))
        << s.screen();
    s.type("q");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
}

TEST_F(HumgatherSession, SystemStatusWithoutTheAddressingAnswerTakesTheNormalLength)
{
    if (!startAtMenu(20))
        return;
    PtySession& s = *session_;
    menu(s, "14");
    answer(s, "AutoConfig                  ( 50 )", "36");
    ASSERT_TRUE(s.expect(" ADDRESS mode has not been set yet.  Use the RS232 address menu")) << s.screen();
    const std::size_t warning = s.screen().size();
    // One line per unit: the warning and all 14 units are on the screen when it pauses.
    ASSERT_TRUE(s.expect("Vornset 1 SYS STATUS = ")) << s.screen();
    ASSERT_TRUE(s.expect("Vornset 14 SYS STATUS = ")) << s.screen();
    ASSERT_TRUE(s.expect("HIT ANY KEY TO CONTINUE")) << s.screen();
    const std::string list = s.screen().substr(warning);
    EXPECT_LE(std::count(list.begin(), list.end(), '\n'), 23) << list;
    s.type(" ");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
    EXPECT_EQ(s.screen().find("Vornset 15 "), std::string::npos);
}

TEST_F(HumgatherSession, DataFileHoldsTheCyclesAskedFor)
{
    if (!startAtMenu(20))
        return;
    PtySession& s = *session_;
    menu(s, "4");
    answer(s, "noise statistics no ( 0 )  yes ( 1 ) ", "");
    answer(s, "Print on screen ( 0 ) or Store in a FILE ( 1 )   ", "1");
    pressKeyAt(s, "**** WARNING, must collect data at 19.2K baud or higher to get each frame****");
    answer(s, " file name for storing pos/angle data ", "pose.txt");
    answer(s, " Add ALPHA to the end of each record ( 0 ) NO,  ( 1 ) YES  ", "");
    answer(s, "Number of measurement cycles to store in data file (<1000) ", "1001");
    ASSERT_TRUE(s.expect("N must be less than 1000")) << s.screen();
    answer(s, "Number of measurement cycles to store in data file (<1000) ", "3");
    s.type("x"); // a key during the collection no longer skips reads
    ASSERT_TRUE(s.expect("ALL DONE ")) << s.screen();
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);

    std::istringstream file(dir_.read("pose.txt"));
    std::string line;
    int lines = 0;
    while (std::getline(file, line)) {
        ++lines;
        EXPECT_EQ(line.size(), 58u) << line; // 57 characters and the carriage return
        EXPECT_EQ(line.back(), '\r');
        EXPECT_EQ(line.substr(7, 3), ",  ") << line;
        // The simulated sensor circles at about 12 inches from the transmitter.
        EXPECT_NE(line.substr(0, 7), "   0.00") << line;
    }
    EXPECT_EQ(lines, 3);
}

TEST(HumgatherStartUp, PortThatCannotBeOpenedIsReported)
{
    TempDir dir;
    setenv("VORN_COM2", (dir.path() / "no-such-line").c_str(), 1);
    PtySession s(HUMGATHER_PATH, dir.path().string());
    answer(s, "Vorn operation                        ( 1 )", "");
    answer(s, "Input a baud number of 0-9  ", "12"); // no rate chosen yet: asked again
    ASSERT_TRUE(s.expect("Please choose one of the baud numbers 0-9.")) << s.screen();
    answer(s, "Input a baud number of 0-9  ", "");
    answer(s, "COM5    ( 5 )", "2");
    ASSERT_TRUE(s.expect("Cannot open COM2 at 115200 baud")) << s.screen();
    EXPECT_EQ(s.waitForExit(), 1);
    unsetenv("VORN_COM2");
}

TEST(HumgatherStartUp, SilentUnitIsReportedAndCtrlCEndsTheProgram)
{
    TempDir dir;
    int unit = -1, line = -1;
    char name[256];
    ASSERT_EQ(openpty(&unit, &line, name, nullptr, nullptr), 0);
    setenv("VORN_COM3", name, 1);
    PtySession s(HUMGATHER_PATH, dir.path().string());
    answer(s, "Vorn operation                        ( 1 )", "");
    answer(s, "Input a baud number of 0-9  ", "");
    answer(s, "COM5    ( 5 )", "3");
    // On the bottom row, on one line of its own.
    const std::string notice = "No answer for 3 s: check the unit's cable and power; Ctrl-C ends Humgather.";
    ASSERT_LT(notice.size(), 80u);
    ASSERT_TRUE(s.expect("\x1b[25;1H\x1b[2K" + notice, 15000)) << s.screen();
    s.type("\x03");
    EXPECT_EQ(s.waitForExit(), 128 + SIGINT);
    unsetenv("VORN_COM3");
    ::close(unit);
    ::close(line);
}

} // namespace
} // namespace vorn::humgather
