// Humsift run as a user runs it: on a pseudo-terminal, answering its questions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>

#include "session_steps.h"

namespace vorn::humsift {
namespace {

using testing::answer;
using testing::linesOf;
using testing::pressKeyAt;
using testing::PtySession;
using testing::TempDir;
using testing::writeNoiseFile;

TEST(HumsiftSession, FastAnalysisEndsWithTheRankedListTheRateFileAndAPicture)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 32768);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", "");
    answer(s, "RS232  ( 0 ),  ISA Bus ( 1 )  ", "");
    answer(s, "file name containing the raw sensor signals  ", "");
    ASSERT_TRUE(s.expect("***** total number of data points    32768 "));
    ASSERT_TRUE(s.expect("  ALL DONE GENERATING  16384  power spectrum density values"));
    pressKeyAt(s, "hit any key to continue", " ");
    answer(s, "Use Vorn's two notch filter zero values when there is 50 Hz power mains  ( 1 )", "");
    ASSERT_TRUE(s.expect("             PLEASE  WAIT  WHILE  ANALYZING  DATA"));
    answer(s, "Output the best measurement rate results to a file ?   NO ( 0 ),  YES ( 1 )  ", "1");
    answer(s, "output file name for rate data ", "");
    answer(s, "Title to describe the data in the file ", "Test room");
    ASSERT_TRUE(s.expect(" Average amplitude data around target Measurement rate"));
    pressKeyAt(s, "Q to quit and return to main menu", "p");
    answer(s, "Title for Plot  ", "Fast plot");
    s.type("m");
    pressKeyAt(s, " S to save a bitmap image of the graph", "\x1b[5~\x1b[D");
    s.type("s");
    answer(s, "File name for saving the picture. A .BMP extension will be added automatically ", "fastplot");
    pressKeyAt(s, "Picture saved in", "q");
    answer(s, " do more noise spectrum analysis                             ( 1 )", "");
    EXPECT_EQ(s.waitForExit(), 0);

    const std::vector<std::string> file = linesOf(dir.read("BestRate.dat"));
    ASSERT_EQ(file.size(), 13u + 578u);
    EXPECT_EQ(file[0], "'Test room\r");
    EXPECT_EQ(file[3], "'Frequencies averaged together +/- 10 \r");
    EXPECT_EQ(file[5], "'Wide Notch Filter Applied\r");
    // Ranked quietest first, every row a rate of the band with its averaged figure.
    double previous = 0.0;
    for (std::size_t i = 13; i < file.size(); ++i) {
        double rate = 0, figure = 0;
        ASSERT_EQ(std::sscanf(file[i].c_str(), "%lf %lf", &rate, &figure), 2) << file[i];
        EXPECT_GE(rate, 80.04);
        EXPECT_LE(rate, 139.96);
        EXPECT_GE(figure, previous);
        previous = figure;
    }
    // The screen shows the same rows.
    EXPECT_NE(s.screen().find(file[13].substr(0, file[13].size() - 1)), std::string::npos);
    const std::string picture = dir.read("fastplot.BMP");
    ASSERT_GT(picture.size(), 100000u);
    EXPECT_EQ(picture.substr(0, 2), "BM");
}

TEST(HumsiftSession, EngineeringAnalysisWritesTheSpectrumAndScansZeroPairs)
{
    TempDir dir;
    writeNoiseFile(dir, "room.dat", 8192);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", "1");
    answer(s, "Approximate Maximum number of data points in input file  ", "");
    answer(s, "RS232  ( 0 ),  ISA Bus ( 1 )  ", "1");
    ASSERT_TRUE(s.expect(" All done - program will end                 ( 2 )"));
    s.type("0\n");
    answer(s, "Sample Frequency in Hz that the Vorn's sensor data was collected at  ", "");
    answer(s, "file name containing the raw sensor signals  ", "missing.dat");
    pressKeyAt(s, "file does not exist.  try again", "x");
    answer(s, "file name containing the raw sensor signals  ", "room.dat");
    answer(s, "Hann window the data ( 0 ),  no window ( 1 ) ", "");
    answer(s, "output computed PSD data to a file              ( 1 )", "1");
    answer(s, "output file name for PSD data ", "");
    answer(s, "Wide Notch filter the sensor data ( 0 ),  Do not Notch filter the data ( 1 ) ", "");
    answer(s, "Vorn MEASUREMENT RATE ", "");
    ASSERT_TRUE(s.expect("Specify first zero only, program computes second zero for flat response  ( 3 )"));
    s.type("3\n");
    answer(s, " FREQUENCY OF FIRST ZERO IN HERTZ ", "60");
    ASSERT_TRUE(s.expect("NOTCH CONSTANTS NOTCH1,NOTCH2,NOTCH3,F0 "));
    pressKeyAt(s, "hit any key to continue", " ");
    ASSERT_TRUE(s.expect("  ALL DONE GENERATING  4096  power spectrum density values"));
    pressKeyAt(s, "hit any key to continue", " ");
    ASSERT_TRUE(s.expect(" All done - program will end                 ( 2 )"));
    s.type("1\n");
    answer(s, "read already computed PSD from a file ( 1 )", "");
    ASSERT_TRUE(s.expect("All Done here -  go to the previous menu .......................... ( 11 )"));
    s.type("3\n");
    answer(s, "Vorn measurement Rate in Hz  ", "");
    ASSERT_TRUE(s.expect("Second  filter zero =  55.825 "));
    pressKeyAt(s, "hit any key to continue", " ");
    ASSERT_TRUE(s.expect("( 11 )"));
    s.type("7\n");
    answer(s, "Start measurement Rate in Hz  ", "90");
    answer(s, "end measurement Rate in Hz  ", "95");
    answer(s, "if no surrounding frequencies to average together then enter 0", "0");
    answer(s, "Output the best measurement rate results to a file ?   NO ( 0 ),  YES ( 1 )  ", "1");
    answer(s, "output file name for rate data ", "pairs.dat");
    answer(s, "Title to describe the data in the file ", "pairs");
    pressKeyAt(s, "Q to quit and return to main menu", "q");
    answer(s, "Back to previous menu ( 0 ),  Define another averaging band ( 1 ) ", "");
    ASSERT_TRUE(s.expect("( 11 )"));
    s.type("11\n");
    ASSERT_TRUE(s.expect(" All done - program will end                 ( 2 )"));
    s.type("2\n");
    EXPECT_EQ(s.waitForExit(), 0);

    const std::vector<std::string> psd = linesOf(dir.read("SENSORpsd.dat"));
    ASSERT_EQ(psd.size(), 4096u);
    EXPECT_EQ(psd[0].substr(0, 14), " 0            ");
    EXPECT_EQ(psd[1].substr(0, 10), " .3780518 "); // 3097 / 8192 Hz: the ISA rate
    const std::vector<std::string> pairs = linesOf(dir.read("pairs.dat"));
    ASSERT_EQ(pairs.size(), 13u + 13u); // 90 .. 95 Hz in bins of 0.378 Hz
    EXPECT_EQ(pairs[10], "'Measurement   Noise     Tracking Notch\r");
    double rate = 0, figure = 0, firstZero = 0, second = 0;
    ASSERT_EQ(std::sscanf(pairs[13].c_str(), "%lf %lf %lf %lf", &rate, &figure, &firstZero, &second), 4);
    EXPECT_EQ(std::fmod(firstZero, 5.0), 0.0);
    EXPECT_NEAR(second, (rate / 2 + firstZero) / 2, 0.006);
}

TEST(HumsiftSession, ARateOnANotchZeroIsMarkedAndScansNearItStayFinite)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 8192);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", "1");
    answer(s, "Approximate Maximum number of data points in input file  ", "");
    answer(s, "RS232  ( 0 ),  ISA Bus ( 1 )  ", "");
    ASSERT_TRUE(s.expect(" All done - program will end                 ( 2 )"));
    s.type("0\n");
    answer(s, "Sample Frequency in Hz that the Vorn's sensor data was collected at  ", "");
    answer(s, "file name containing the raw sensor signals  ", "");
    answer(s, "Hann window the data ( 0 ),  no window ( 1 ) ", "");
    answer(s, "output computed PSD data to a file              ( 1 )", "");
    answer(s, "Wide Notch filter the sensor data ( 0 ),  Do not Notch filter the data ( 1 ) ", "");
    answer(s, "Vorn MEASUREMENT RATE ", "60");
    ASSERT_TRUE(s.expect("( 3 )"));
    s.type("2\n");
    ASSERT_TRUE(s.expect("9999.0 is put in the noise data for a blow up at a given freq"));
    answer(s, " FREQUENCY OF FIRST ZERO IN HERTZ ", "60");
    answer(s, " FREQUENCY OF SECOND ZERO IN HERTZ ", "70");
    pressKeyAt(s, "hit any key to continue", " ");
    pressKeyAt(s, "hit any key to continue", " ");
    ASSERT_TRUE(s.expect("( 2 )"));
    s.type("1\n");
    answer(s, "read already computed PSD from a file ( 1 )", "");
    ASSERT_TRUE(s.expect("( 11 )"));
    s.type("3\n");
    answer(s, "Vorn measurement Rate in Hz  ", "");
    ASSERT_TRUE(s.expect("Noise Power at this Vorn measurement rate and notch filter setting"));
    ASSERT_TRUE(s.expect(" 9999 "));
    pressKeyAt(s, "hit any key to continue", " ");
    ASSERT_TRUE(s.expect("( 11 )"));
    s.type("5\n");
    answer(s, "Start measurement Rate in Hz  ", "55");
    answer(s, "end measurement Rate in Hz  ", "75");
    answer(s, "if no surrounding frequencies to average together then enter 0", "");
    answer(s, "Output the best measurement rate results to a file ?   NO ( 0 ),  YES ( 1 )  ", "1");
    answer(s, "output file name for rate data ", "near.dat");
    answer(s, "Title to describe the data in the file ", "near the zeros");
    pressKeyAt(s, "Q to quit and return to main menu", "q");
    answer(s, "Back to previous menu ( 0 ),  Define another averaging band ( 1 ) ", "");
    // Two rate files compared in one plot, saved as a picture.
    ASSERT_TRUE(s.expect("( 11 )"));
    s.type("8\n");
    answer(s, "file name containing the power spectrum freq vs amp data  ", "near.dat");
    ASSERT_TRUE(s.expect("enter the second file to plot"));
    answer(s, "file name containing the power spectrum freq vs amp data  ", "near.dat");
    answer(s, "Title for Plot  ", "both");
    s.type("s");
    answer(s, "File name for saving the picture. A .BMP extension will be added automatically ", "both");
    pressKeyAt(s, "Picture saved in", "q");
    ASSERT_TRUE(s.expect("( 11 )"));
    s.type("11\n");
    ASSERT_TRUE(s.expect("( 2 )"));
    s.type("2\n");
    EXPECT_EQ(s.waitForExit(), 0);

    const std::vector<std::string> rows = linesOf(dir.read("near.dat"));
    ASSERT_EQ(rows.size(), 13u + 48u); // bins 133 .. 180 of 0.415 Hz
    for (std::size_t i = 13; i < rows.size(); ++i) {
        // Figures beside a zero are huge: too wide for their column, they are marked with "%".
        std::string row = rows[i];
        std::replace(row.begin(), row.end(), '%', ' ');
        double rate = 0, figure = 0;
        ASSERT_EQ(std::sscanf(row.c_str(), "%lf %lf", &rate, &figure), 2) << rows[i];
        EXPECT_TRUE(std::isfinite(figure)) << rows[i];
        EXPECT_GT(figure, 0.0) << rows[i];
    }
    EXPECT_EQ(dir.read("both.BMP").substr(0, 2), "BM");
}

TEST(HumsiftSession, AnOddSizedNoiseFileIsCutToAPowerOfTwo)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 5000);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", "");
    answer(s, "RS232  ( 0 ),  ISA Bus ( 1 )  ", "");
    answer(s, "file name containing the raw sensor signals  ", "");
    ASSERT_TRUE(s.expect("The transform needs a power of two of values: the analysis uses the first 4096."));
    ASSERT_TRUE(s.expect("  ALL DONE GENERATING  2048  power spectrum density values"));
}

TEST(HumsiftSession, CtrlCWhileWaitingForAKeyRestoresTheTerminal)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 1024);
    // The shell ignores the interrupt so it can report on the terminal afterwards.
    PtySession s("/bin/sh", dir.path().string(),
                 {"-c", std::string("trap '' INT; ") + HUMSIFT_PATH + "; echo status=$?; stty -a"});
    answer(s, "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", "");
    answer(s, "RS232  ( 0 ),  ISA Bus ( 1 )  ", "");
    answer(s, "file name containing the raw sensor signals  ", "");
    pressKeyAt(s, "hit any key to continue", "\x03");
    ASSERT_TRUE(s.expect("status=130")) << s.screen();
    ASSERT_TRUE(s.expect("icanon")) << s.screen();
    EXPECT_EQ(s.screen().find("-icanon"), std::string::npos);
    EXPECT_EQ(s.screen().find("-echo "), std::string::npos);
    EXPECT_EQ(s.waitForExit(), 0);
}

TEST(HumsiftSession, EndOfInputStopsTheProgramInsteadOfWaiting)
{
    TempDir dir;
    const std::string command = std::string(HUMSIFT_PATH) + " < /dev/null > " + dir.file("out.txt") + " 2>&1";
    const int status = std::system(("cd " + dir.path().string() + " && QT_QPA_PLATFORM=offscreen " + command).c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(dir.read("out.txt").find("The keyboard input has ended; Humsift stops here."), std::string::npos);
}

TEST(HumsiftSession, HelpAndVersionAreTheOnlyOptions)
{
    TempDir dir;
    const auto run = [&](const std::string& args) {
        const int status = std::system(
            (std::string(HUMSIFT_PATH) + " " + args + " > " + dir.file("out.txt") + " 2>&1 < /dev/null").c_str());
        return std::make_pair(WEXITSTATUS(status), dir.read("out.txt"));
    };
    const auto [helpStatus, help] = run("--help");
    EXPECT_EQ(helpStatus, 0);
    EXPECT_NE(help.find("usage: humsift [--help | --version]"), std::string::npos);
    const auto [versionStatus, version] = run("--version");
    EXPECT_EQ(versionStatus, 0);
    EXPECT_EQ(version.rfind("humsift ", 0), 0u);
    EXPECT_EQ(run("--fast").first, 2);
}

} // namespace
} // namespace vorn::humsift
