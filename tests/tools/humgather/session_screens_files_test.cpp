// Sessions on a pseudo-terminal against the simulator for what a new user meets: files kept when
// a collection is abandoned, examine answers of every length, rate limits by crystal speed,
// screens that fit 80 x 25, and start-up answers that are not choices.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

#include "humgather_session.h"
#include "settings/options.h"

namespace vorn::humgather {
namespace {

using namespace vorn::humgather::testing;

TEST_F(HumgatherSession, AbandonedCollectionsLeaveTheOldFilesAsTheyWere)
{
    dir_.write("SENSORnoise.dat", " .5 \r\n");
    dir_.write("pose.txt", "an earlier run\r\n");
    if (!startAtMenu(40))
        return;
    PtySession& s = *session_;

    // Noise: keep the name, a count beyond the buffer, then M at the start prompt.
    menu(s, "25");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE"); // the set-up instructions
    answer(s, "Ouput to a file( 0 ), No output to a file ( 1 ) ", "");
    answer(s, " file name for sensor data ", "");
    answer(s, "How many samples to collect into the file, 32768 is max ", "40000");
    ASSERT_TRUE(s.expect("collecting 32768.")) << s.screen();
    // The clamped count stays on the screen until the user has seen it.
    ASSERT_TRUE(s.expect("HIT ANY KEY TO CONTINUE", 5000)) << "the notice is not held:\n" << s.screen();
    s.type(" ");
    answer(s, "input output rate count 1000=1Khz, 500=2.8Hz, 200= 3.3KHz ", "");
    answer(s, "INPUT MUX CODE ", "");
    ASSERT_TRUE(s.expect("hit any key to stop data collection")) << s.screen();
    s.type("M");
    answer(s, "Run Humgather to run your Vorn system            ( 1 )", "1");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    EXPECT_EQ(dir_.read("SENSORnoise.dat"), " .5 \r\n");

    // Data file: Ctrl-C while the collection is about to start.
    menu(s, "4");
    answer(s, "noise statistics no ( 0 )  yes ( 1 ) ", "");
    answer(s, "Print on screen ( 0 ) or Store in a FILE ( 1 )   ", "1");
    pressKeyAt(s, "**** WARNING, must collect data at 19.2K baud or higher to get each frame****");
    answer(s, " file name for storing pos/angle data ", "pose.txt");
    answer(s, " Add ALPHA to the end of each record ( 0 ) NO,  ( 1 ) YES  ", "");
    answer(s, "Number of measurement cycles to store in data file (<1000) ", "3");
    ASSERT_TRUE(s.expect("***** STARTING TO COLLECT DATA IN 3 SECONDS *******")) << s.screen();
    s.type("\x03");
    EXPECT_EQ(s.waitForExit(), 128 + SIGINT);
    EXPECT_EQ(dir_.read("pose.txt"), "an earlier run\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_NE(entry.path().extension(), ".partial") << entry.path();
}

TEST_F(HumgatherSession, ExamineTakesEachAnswerAtItsLengthAndNeverTraps)
{
    if (!startAtMenu(20))
        return;
    PtySession& s = *session_;
    struct Examined {
        const char* value;
        const char* shows;
    };
    const Examined examined[] = {
        {"17", "Rotate xyz with ref frame ="}, // one-byte answers outside the menu's list
        {"19", "address mode ="},
        // A number the command set does not know: what came, then the menu again.
        {"9", "Examine value 9 is not one Humgather knows; the unit answered 2 bytes:"},
        {"8", "data ready is disabled"},
        {"2", "CPU crystal speed =  20  MHz"}, // nothing was left over on the line
    };
    for (const Examined& e : examined) {
        menu(s, "14");
        answer(s, "AutoConfig                  ( 50 )", e.value);
        ASSERT_TRUE(s.expect(e.shows, 5000)) << "examine " << e.value << ":\n" << s.screen();
        pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    }
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
}

TEST_F(HumgatherSession, RateCountRangeFollowsTheCrystalSpeed)
{
    if (!startAtMenu(40))
        return;
    PtySession& s = *session_;
    menu(s, "15");
    answer(s, " EXIT with no changes       ( 99 )", "6");
    // At 40 MHz 12 Hz needs a count of 103791: too low a rate, not too high.
    answer(s, "enter measurement rate in cycles/sec ", "12");
    ASSERT_TRUE(s.expect("rate too low for this unit: its count would not fit in a word;")) << s.screen();
    ASSERT_TRUE(s.expect("the lowest rate at 40 MHz is 18.97 ")) << s.screen();
    answer(s, "enter measurement rate in cycles/sec ", "4000");
    ASSERT_TRUE(s.expect("rate too high for this unit")) << s.screen();
    answer(s, "enter measurement rate in cycles/sec ", "18.97");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    // The unit's answer also waits until it has taken the change.
    menu(s, "14");
    answer(s, "AutoConfig                  ( 50 )", "6");
    ASSERT_TRUE(s.expect("CURRENT SETTLING TIME IS  65519  COUNTS")) << s.screen();
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
    // ((1000 / 18.97 - 0.3) / 4) x 1000 / 0.2 = 65519 counts, sent as -17.
    EXPECT_TRUE(contains(received(), {'P', 6, 0xEF, 0xFF})) << "rate count";
}

TEST_F(HumgatherSession, PositionScreensOfFourVornsetsFitTheTerminal)
{
    startSimulator(sim::vornsetConfig(3));
    if (IsSkipped())
        return;
    PtySession s(HUMGATHER_PATH, dir_.path().string());
    answer(s, "Vorn operation                        ( 1 )", "2");
    ASSERT_TRUE(s.expect("Please answer 0 or 1.")) << "2 is not a work mode:\n" << s.screen();
    answer(s, "Vorn operation                        ( 1 )", "1");
    answer(s, "Input a baud number of 0-9  ", "");
    answer(s, "COM5    ( 5 )", "");
    answer(s, "Standalone system ( 0 ), or multiple vornsets ( 1 )  ", "1");
    answer(s, "how many vornsets to get data from ", "11");
    ASSERT_TRUE(s.expect("Between 1 and 10 vornsets, please")) << s.screen();
    answer(s, "how many vornsets to get data from ", "4");
    for (const char* address : {"1", "2", "3", "1"})
        answer(s, "input address #", address);
    answer(s, " system in normal address mode ( 1 ) or expanded address mode ( 2 )  ", "1");
    answer(s, " DO ECHO/OK TEST ? NO ( 0 ),  YES ( 1 )  ", "");
    for (int value = 1; value <= 3; ++value)
        answer(s, " examine master vornset only (0) or all vornsets (1)  ", "");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    answer(s, " running std vorn ( 0 ) or Extended Range ( 1 )  ", "");
    if (HasFatalFailure())
        return;

    menu(s, "4");
    answer(s, "noise statistics no ( 0 )  yes ( 1 ) ", "1");
    answer(s, "Number of samples to average ", "20");
    answer(s, "delay in seconds between averages ", "");
    answer(s, "Print on screen ( 0 ) or Store in a FILE ( 1 )   ", "");
    ASSERT_TRUE(s.expect("\x1b[25;1Hvornsets 4 of 4; the others follow in turn")) << s.screen();
    ASSERT_TRUE(s.expect("   STD DEVIATION")) << s.screen();
    ASSERT_TRUE(s.expect("\x1b[25;1Hvornsets 1-3 of 4")) << s.screen();
    s.type("q");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    EXPECT_LE(lowestRowPlaced(s.screen()), 25) << s.screen();

    const std::size_t plainStart = s.screen().size();
    menu(s, "4");
    answer(s, "noise statistics no ( 0 )  yes ( 1 ) ", "0");
    answer(s, "Print on screen ( 0 ) or Store in a FILE ( 1 )   ", "");
    ASSERT_TRUE(s.expect("2 rel to 1 pos/ang")) << s.screen();
    ASSERT_TRUE(s.expect("\x1b[15;1H")) << "vornset 4 below the relative pose:\n" << s.screen();
    s.type("q");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    // Row 12 holds "2 rel to 1 pos/ang" alone.
    EXPECT_EQ(s.screen().find("\x1b[12;1H", plainStart), s.screen().find("\x1b[12;1H2 rel to 1", plainStart));
    EXPECT_LE(lowestRowPlaced(s.screen()), 25);
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
}

TEST_F(HumgatherSession, AddressBeyondNormalPrefixesIsAskedAgain)
{
    // 0xF0 + 20 would wrap to the byte 0x04 and reach no unit; the address is asked for again.
    startSimulator(sim::vornsetConfig(3));
    if (IsSkipped())
        return;
    PtySession s(HUMGATHER_PATH, dir_.path().string());
    answer(s, "Vorn operation                        ( 1 )", "1");
    answer(s, "Input a baud number of 0-9  ", "");
    answer(s, "COM5    ( 5 )", "");
    answer(s, "Standalone system ( 0 ), or multiple vornsets ( 1 )  ", "1");
    answer(s, "how many vornsets to get data from ", "2");
    for (const char* address : {"1", "20"})
        answer(s, "input address #", address);
    answer(s, " system in normal address mode ( 1 ) or expanded address mode ( 2 )  ", "1");
    answer(s, "Address 20 needs expanded addressing (16 or more units); give 0 to 15.", "2");
    answer(s, " DO ECHO/OK TEST ? NO ( 0 ),  YES ( 1 )  ", "");
    for (int value = 1; value <= 3; ++value)
        answer(s, " examine master vornset only (0) or all vornsets (1)  ", "1");
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    answer(s, " running std vorn ( 0 ) or Extended Range ( 1 )  ", "");
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
    EXPECT_TRUE(contains(received(), {0xF2, 'O', 1})) << "the second vornset is examined at address 2";
}

TEST_F(HumgatherSession, RevisionWrittenWithOnePlaceStartsUp)
{
    // 3.4 is 3.40: the unit answers 3, 40 and publishes its address table, as Humgather expects.
    const sim::ProgramOptions options = sim::parseProgramOptions({"--standalone", "--revision", "3.4"});
    ASSERT_TRUE(options.errors.empty());
    startSimulator(options.config);
    if (IsSkipped())
        return;
    PtySession s(HUMGATHER_PATH, dir_.path().string());
    startInOperationMode(s, "3.4");
    EXPECT_NE(s.screen().find("prom date"), std::string::npos);
    menu(s, "27");
    EXPECT_EQ(s.waitForExit(), 0);
}

} // namespace
} // namespace vorn::humgather
