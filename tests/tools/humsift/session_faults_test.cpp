// Humsift as a new user meets it: wrong names and answers at every prompt, files that are not
// what they claim, Ctrl-Z, a display that has gone. Each case once went wrong.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "session_steps.h"

namespace vorn::humsift {
namespace {

using testing::answer;
using testing::pressKeyAt;
using testing::PtySession;
using testing::TempDir;
using testing::writeNoiseFile;

constexpr const char* kFastOrEngineering = "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ";
constexpr const char* kInterface = "RS232  ( 0 ),  ISA Bus ( 1 )  ";
constexpr const char* kNoiseFileName = "file name containing the raw sensor signals  ";
constexpr const char* kMains50 = "Use Vorn's two notch filter zero values when there is 50 Hz power mains  ( 1 )";
constexpr const char* kMains60 = "Use Vorn's two notch filter zero values when there is 60 Hz power mains  ( 0 )";
constexpr const char* kRateToFile = "Output the best measurement rate results to a file ?   NO ( 0 ),  YES ( 1 )  ";
constexpr const char* kRateFileName = "output file name for rate data ";
constexpr const char* kListEnd = "Q to quit and return to main menu";
constexpr const char* kAgain = " do more noise spectrum analysis                             ( 1 )";
constexpr const char* kAnalysisMenuEnd = "All Done here -  go to the previous menu .......................... ( 11 )";
constexpr const char* kMainMenuEnd = " All done - program will end                 ( 2 )";

// FAST up to the mains question, the noise file read.
void fastToMains(PtySession& s)
{
    answer(s, kFastOrEngineering, "");
    answer(s, kInterface, "");
    answer(s, kNoiseFileName, "");
    pressKeyAt(s, "hit any key to continue", " ");
}

// ENGINEERING from the start to the analysis menu, with a spectrum computed for the default notch.
void engineeringToAnalysisMenu(PtySession& s)
{
    answer(s, kFastOrEngineering, "1");
    answer(s, "Approximate Maximum number of data points in input file  ", "");
    answer(s, kInterface, "");
    answer(s, kMainMenuEnd, "0");
    answer(s, "Sample Frequency in Hz that the Vorn's sensor data was collected at  ", "");
    answer(s, kNoiseFileName, "");
    answer(s, "Hann window the data ( 0 ),  no window ( 1 ) ", "");
    answer(s, "output computed PSD data to a file              ( 1 )", "");
    answer(s, "Wide Notch filter the sensor data ( 0 ),  Do not Notch filter the data ( 1 ) ", "");
    answer(s, "Vorn MEASUREMENT RATE ", "");
    answer(s, "Specify first zero only, program computes second zero for flat response  ( 3 )", "");
    pressKeyAt(s, "hit any key to continue", " ");
    pressKeyAt(s, "power spectrum density values", " ");
    answer(s, kMainMenuEnd, "1");
    answer(s, "read already computed PSD from a file ( 1 )", "");
}

void leaveEngineering(PtySession& s)
{
    answer(s, kAnalysisMenuEnd, "11");
    answer(s, kMainMenuEnd, "2");
    EXPECT_EQ(s.waitForExit(), 0) << s.screen();
}

TEST(HumsiftFaults, AnOutputNameNeverReplacesTheRecordingAndOtherFilesOnlyWhenAsked)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 4096);
    dir.write("notes.txt", "my notes\n");
    const std::string recording = dir.read("SENSORnoise.dat");
    PtySession s(HUMSIFT_PATH, dir.path().string());
    fastToMains(s);
    answer(s, kMains50, "");
    answer(s, kRateToFile, "1");
    answer(s, kRateFileName, "SENSORnoise.dat");
    ASSERT_TRUE(s.expect("SENSORnoise.dat is a file this analysis reads; Humsift never writes over it.")) << s.screen();
    answer(s, kRateFileName, "./SENSORnoise.dat");
    ASSERT_TRUE(s.expect("./SENSORnoise.dat is a file this analysis reads"));
    answer(s, kRateFileName, "notes.txt");
    ASSERT_TRUE(s.expect("notes.txt already exists and was not written by Humsift."));
    answer(s, "Keep it and give another name ( 0 ),  replace it ( 1 ) ", "");
    answer(s, kRateFileName, "rates.dat");
    answer(s, "Title to describe the data in the file ", "room");
    pressKeyAt(s, kListEnd, "q");
    answer(s, kAgain, "");
    EXPECT_EQ(s.waitForExit(), 0);
    EXPECT_EQ(dir.read("SENSORnoise.dat"), recording);
    EXPECT_EQ(dir.read("notes.txt"), "my notes\n");
    EXPECT_EQ(dir.read("rates.dat").substr(0, 6), "'room\r");
}

TEST(HumsiftFaults, LinesThatAreNotSamplesAreToldAndAFileOfThemIsRefused)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 1024);
    std::string text = dir.read("SENSORnoise.dat");
    std::size_t fifthLine = 0;
    for (int line = 1; line < 5; ++line)
        fifthLine = text.find("\r\n", fifthLine) + 2;
    text.insert(fifthLine, "hello\r\nnan\r\n 1e300 \r\n");
    dir.write("SENSORnoise.dat", text);
    std::string junk;
    for (int i = 0; i < 40; ++i)
        junk += "12abc\r\n";
    dir.write("junk.dat", junk + " .5 \r\n");
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, kFastOrEngineering, "");
    answer(s, kInterface, "");
    answer(s, kNoiseFileName, "junk.dat");
    ASSERT_TRUE(s.expect("The file junk.dat is mostly not samples.")) << s.screen();
    ASSERT_TRUE(s.expect("40 (the first is line 1)."));
    pressKeyAt(s, "Is it a noise file?  try again", " ");
    answer(s, kNoiseFileName, "SENSORnoise.dat");
    ASSERT_TRUE(s.expect("***** total number of data points    1024 "));
    ASSERT_TRUE(s.expect("Lines left out, not numbers within +/-10 V: 3 (the first is line 5).")) << s.screen();
    ASSERT_TRUE(s.expect("ALL DONE GENERATING  512  power spectrum density values"));
}

TEST(HumsiftFaults, WrongAnswersAreAskedAgainAndOutOfRangeValuesRefused)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 8192);
    const std::string recording = dir.read("SENSORnoise.dat");
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, kFastOrEngineering, "1.7");
    ASSERT_TRUE(s.expect("Please answer 0 or 1."));
    answer(s, kFastOrEngineering, "abc");
    ASSERT_TRUE(s.expect("Please answer 0 or 1."));
    answer(s, kFastOrEngineering, "1");
    answer(s, "Approximate Maximum number of data points in input file  ", "");
    answer(s, kInterface, "");
    answer(s, kMainMenuEnd, "5x");
    ASSERT_TRUE(s.expect("Please answer 0, 1 or 2."));
    answer(s, kMainMenuEnd, "0");
    const char* sampleFrequency = "Sample Frequency in Hz that the Vorn's sensor data was collected at  ";
    answer(s, sampleFrequency, "abc");
    ASSERT_TRUE(s.expect("That is not a number: type one, or just Enter to keep the value."));
    for (const char* huge : {"1e40", "1e-30"}) {
        answer(s, sampleFrequency, huge);
        ASSERT_TRUE(s.expect("The sample frequency in Hz must lie between 10 and 100000."));
    }
    answer(s, sampleFrequency, "");
    answer(s, kNoiseFileName, "");
    answer(s, "Hann window the data ( 0 ),  no window ( 1 ) ", "");
    answer(s, "output computed PSD data to a file              ( 1 )", "1");
    answer(s, "output file name for PSD data ", "SENSORnoise.dat");
    ASSERT_TRUE(s.expect("SENSORnoise.dat is a file this analysis reads"));
    answer(s, "output file name for PSD data ", "psd.dat");
    answer(s, "Wide Notch filter the sensor data ( 0 ),  Do not Notch filter the data ( 1 ) ", "");
    answer(s, "Vorn MEASUREMENT RATE ", "1e39");
    ASSERT_TRUE(s.expect("The measurement rate in Hz must lie between 1 and 1700.585."));
    answer(s, "Vorn MEASUREMENT RATE ", "");
    answer(s, "Specify first zero only, program computes second zero for flat response  ( 3 )", "abc");
    // The whole list of options comes again, not only its last line.
    ASSERT_TRUE(s.expect("Please answer 0, 1, 2 or 3."));
    answer(s, "Specify first zero only, program computes second zero for flat response  ( 3 )", "3");
    answer(s, " FREQUENCY OF FIRST ZERO IN HERTZ ", "abc");
    ASSERT_TRUE(s.expect("That is not a number"));
    answer(s, " FREQUENCY OF FIRST ZERO IN HERTZ ", "60");
    ASSERT_TRUE(s.expect("NOTCH CONSTANTS NOTCH1,NOTCH2,NOTCH3,F0 "));
    EXPECT_EQ(s.screen().find("NaN"), std::string::npos);
    pressKeyAt(s, "hit any key to continue", " ");
    pressKeyAt(s, "power spectrum density values", " ");
    answer(s, kMainMenuEnd, "1");
    answer(s, "read already computed PSD from a file ( 1 )", "");
    for (const char* notAChoice : {"1", "2", "5x"}) {
        answer(s, kAnalysisMenuEnd, notAChoice);
        ASSERT_TRUE(s.expect("Please answer 0, 3, 4, 5, 6, 7, 8, 9, 10 or 11."));
    }
    answer(s, kAnalysisMenuEnd, "5");
    answer(s, "Start measurement Rate in Hz  ", "");
    answer(s, "end measurement Rate in Hz  ", "");
    answer(s, "if no surrounding frequencies to average together then enter 0", "1000000");
    ASSERT_TRUE(s.expect("must lie between 0 and 72."));
    answer(s, "if no surrounding frequencies to average together then enter 0", "3");
    answer(s, kRateToFile, "");
    pressKeyAt(s, kListEnd, "q");
    answer(s, "Back to previous menu ( 0 ),  Define another averaging band ( 1 ) ", "");
    leaveEngineering(s);
    EXPECT_EQ(dir.read("SENSORnoise.dat"), recording);
    EXPECT_EQ(dir.read("psd.dat").find('E'), std::string::npos); // plain decimals only
}

TEST(HumsiftFaults, AFilterThatBlowsUpIsNamedWhereverItIsUsed)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 8192);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    engineeringToAnalysisMenu(s);
    answer(s, kAnalysisMenuEnd, "4");
    answer(s, "Title for Plot  ", "at 60");
    answer(s, "Vorn measurement Rate in Hz  ", "60");
    s.type("q");
    answer(s, kAnalysisMenuEnd, "3");
    answer(s, "Vorn measurement Rate in Hz  ", "103.3");
    ASSERT_TRUE(s.expect("The filter in force was computed for a measurement rate of 60 Hz"));
    ASSERT_TRUE(s.expect("It blows up at that rate (a zero on the rate), so noise figures read 9999"));
    pressKeyAt(s, "hit any key to continue", " ");
    answer(s, kAnalysisMenuEnd, "10");
    pressKeyAt(s, "hit any key to continue", " ");
    ASSERT_TRUE(s.expect("values are not finite and are not drawn."));
    s.type("q");
    leaveEngineering(s);
}

TEST(HumsiftFaults, CtrlZAndFgGiveSingleKeysBack)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 1024);
    PtySession s("/bin/bash", dir.path().string(), {"--norc", "--noprofile", "-i"}, {"PS1=$ "});
    s.type(std::string(HUMSIFT_PATH) + "\n");
    fastToMains(s);
    answer(s, kMains50, "");
    answer(s, kRateToFile, "");
    pressKeyAt(s, kListEnd, "\x1a"); // Ctrl-Z while a single key is awaited
    const std::string job = std::string(HUMSIFT_PATH) + "\r\n";
    ASSERT_TRUE(s.expect("Stopped")) << s.screen();
    ASSERT_TRUE(s.expect(job));
    s.type("fg\n");
    // The shell names the job it continues; give the program a moment to take the terminal back.
    ASSERT_TRUE(s.expect(job)) << s.screen();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    s.type("q"); // one key, no Enter
    ASSERT_TRUE(s.expect(kAgain)) << s.screen();
    ASSERT_TRUE(s.expect("Carriage return to keep, or enter new value"));
    s.type("\n");
    ASSERT_TRUE(s.expect("$ "));
    s.type("exit\n");
    EXPECT_EQ(s.waitForExit(), 0);
}

TEST(HumsiftFaults, ADisplayThatCannotBeOpenedFallsBackOffScreen)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 1024);
    PtySession s(HUMSIFT_PATH, dir.path().string(), {}, {"DISPLAY=:87", "QT_QPA_PLATFORM", "XAUTHORITY=/nonexistent"});
    ASSERT_TRUE(s.expect("The display :87 cannot be opened: plots are drawn off-screen")) << s.screen();
    answer(s, kFastOrEngineering, "");
    answer(s, kInterface, "");
    answer(s, kNoiseFileName, "");
    ASSERT_TRUE(s.expect("ALL DONE GENERATING"));
}

TEST(HumsiftFaults, AFailedRateFileIsToldWithItsReasonBelowTheList)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 4096);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    fastToMains(s);
    answer(s, kMains50, "");
    answer(s, kRateToFile, "1");
    answer(s, kRateFileName, "gone/BestRate.dat");
    answer(s, "Title to describe the data in the file ", "");
    ASSERT_TRUE(s.expect(" Average amplitude data around target Measurement rate"));
    ASSERT_TRUE(s.expect("Could not write the rate file gone/BestRate.dat: No such file or directory."));
    ASSERT_TRUE(s.expect("You're at the end of the list."));
}

TEST(HumsiftFaults, KeysTypedAheadAreShownAndARefusedMainsAnswerShowsBothChoices)
{
    TempDir dir;
    writeNoiseFile(dir, "SENSORnoise.dat", 1024);
    PtySession s(HUMSIFT_PATH, dir.path().string());
    answer(s, kFastOrEngineering, "");
    answer(s, kInterface, "");
    answer(s, kNoiseFileName, "");
    // The key for "hit any key", then the next answer typed before its question.
    pressKeyAt(s, "hit any key to continue", " 7\n");
    ASSERT_TRUE(s.expect("Carriage return to keep, or enter new value\r\n7\r\n")) << s.screen();
    ASSERT_TRUE(s.expect("Please answer 0 or 1.\r\n" + std::string(kMains60) + "\r\n")) << s.screen();
    answer(s, kMains50, "1");
    answer(s, kRateToFile, "");
    pressKeyAt(s, kListEnd, "q");
    answer(s, kAgain, "");
    EXPECT_EQ(s.waitForExit(), 0);
}

std::pair<int, std::string> runQuietly(const TempDir& dir, const std::string& command)
{
    const int status =
        std::system(("cd " + dir.path().string() + " && " + command + " > out.txt 2>&1 < /dev/null").c_str());
    return {WEXITSTATUS(status), dir.read("out.txt")};
}

TEST(HumsiftFaults, CommandLinesAreAnsweredPlainly)
{
    TempDir dir;
    const auto [extraStatus, extra] = runQuietly(dir, std::string(HUMSIFT_PATH) + " --help extra");
    EXPECT_EQ(extraStatus, 2);
    EXPECT_NE(extra.find("humsift: --help takes no arguments (\"extra\")"), std::string::npos) << extra;
    const std::string makeNoise = MAKE_NOISE_PATH;
    for (const std::string& program : {std::string(HUMSIFT_PATH), makeNoise})
        for (const std::string& line : testing::linesOf(runQuietly(dir, program + " --help").second))
            EXPECT_LE(line.size(), 79u) << line;

    const auto [helpStatus, help] = runQuietly(dir, makeNoise + " --help");
    EXPECT_EQ(helpStatus, 0);
    EXPECT_EQ(help.rfind("usage: humsift-make-noise", 0), 0u);
    const std::pair<const char*, const char*> refused[] = {
        {"--monitor nan", "--monitor must be a frequency above 0 Hz, not \"nan\""},
        {"--seed x", "--seed must be a whole number from 0 to 4294967295, not \"x\""},
        {"--mains 55", "--mains must be 50 or 60, not 55"},
        {"--rate inf", "--rate must be a rate from 10 to 100000 Hz, not \"inf\""},
        {"--samples 32768.5", "--samples must be a whole number from 1 to 32768, not \"32768.5\""},
        {"--monitor 2000", "--monitor must lie below half the sample rate"},
        {"--loud", "unknown option \"--loud\""}};
    for (const auto& [arguments, reason] : refused) {
        const auto [status, said] = runQuietly(dir, makeNoise + " " + arguments + " made.dat");
        EXPECT_EQ(status, 2) << arguments;
        EXPECT_EQ(said.rfind("humsift-make-noise: " + std::string(reason) + "\n", 0), 0u) << said;
    }
    EXPECT_EQ(dir.read("made.dat"), "");
    const auto [madeStatus, made] = runQuietly(dir, makeNoise + " --samples 4 --mains 50 --seed 3 made.dat");
    EXPECT_EQ(madeStatus, 0) << made;
    EXPECT_EQ(testing::linesOf(dir.read("made.dat")).size(), 4u);
}

} // namespace
} // namespace vorn::humsift
