// What examine answers show and set, and the bytes change entries go out as.
#include <gtest/gtest.h>

#include <algorithm>

#include "vorn/humgather/change_values.h"
#include "vorn/humgather/examine_answers.h"

namespace vorn::humgather {
namespace {

bool hasLine(const ExamineOutcome& outcome, const std::string& line)
{
    return std::find(outcome.lines.begin(), outcome.lines.end(), line) != outcome.lines.end();
}

ExamineOutcome examine(int parameter, std::vector<std::uint8_t> answer, int addressingAnswer = 1)
{
    return describeExamineAnswer(parameter, answer, ExamineContext {0.4f, addressingAnswer});
}

TEST(HumgatherExamineAnswers, RevisionFractionInTenthsOrHundredths)
{
    struct Case {
        std::uint8_t first, second;
        float revision;
    };
    for (const Case& c : {Case {3, 67, 3.67f}, Case {3, 5, 3.5f}, Case {2, 0, 2.0f}, Case {3, 18, 3.18f}}) {
        const auto outcome = examine(1, {c.first, c.second});
        ASSERT_TRUE(outcome.revision);
        EXPECT_FLOAT_EQ(*outcome.revision, c.revision) << int(c.first) << "," << int(c.second);
    }
    EXPECT_TRUE(hasLine(examine(1, {3, 67}), "Software revision number =  3.67 "));
}

TEST(HumgatherExamineAnswers, CrystalSpeedZeroIsTakenAsTwentyMegahertz)
{
    const auto unknown = examine(2, {0, 0});
    EXPECT_EQ(unknown.lines.front(), "*** cannot read CPU SPEED ***  assuming 20 MHz");
    EXPECT_EQ(unknown.crystalSpeedMHz, 20);
    const auto fast = examine(2, {40, 0});
    EXPECT_EQ(fast.crystalSpeedMHz, 40);
    EXPECT_TRUE(hasLine(fast, "CPU crystal speed =  40  MHz"));
}

TEST(HumgatherExamineAnswers, RangeScalingSetsThePositionScale)
{
    EXPECT_FLOAT_EQ(*examine(3, {0, 0}).positionScale, 36.0f / 32768.0f);
    EXPECT_FLOAT_EQ(*examine(3, {1, 0}).positionScale, 72.0f / 32768.0f);
    const auto bad = examine(3, {2, 0});
    EXPECT_FALSE(bad.positionScale);
    EXPECT_TRUE(hasLine(bad, "Error in Maximum range scaling"));
}

TEST(HumgatherExamineAnswers, StatusWordBitsAndFormat)
{
    // Master, running, position/angles (4), stream mode.
    const auto outcome = examine(0, {0x09, 0x90});
    EXPECT_TRUE(hasLine(outcome, "     15           This Vorn is the MASTER"));
    EXPECT_TRUE(hasLine(outcome, "     12           The Vorn is running"));
    EXPECT_TRUE(hasLine(outcome, "     13           No errors detected"));
    EXPECT_TRUE(hasLine(outcome, "   4,3,2,1         POSITION/ANGLE outputs selected"));
    EXPECT_TRUE(hasLine(outcome, "     0           Stream mode"));
    EXPECT_EQ(outcome.pauseAfterLine, std::vector<std::size_t> {outcome.lines.size()});
}

TEST(HumgatherExamineAnswers, FiltersMetalAndGroupMode)
{
    const auto filters = examine(4, {5, 0});
    EXPECT_TRUE(hasLine(filters, "Adaptive DC filter is OFF"));
    EXPECT_TRUE(hasLine(filters, "AC Wide NOTCH filter is ON"));
    EXPECT_TRUE(hasLine(filters, "2 cycle AC filter is OFF"));

    const auto metal = examine(28, {2, 0, 10, 0, 251, 0, 130, 0, 12, 0});
    EXPECT_TRUE(hasLine(metal, "METALoffset =               -5 "));
    EXPECT_TRUE(hasLine(metal, "METALslope =  -126 "));

    EXPECT_EQ(examine(35, {1}).groupModeFlag, 1);
    EXPECT_TRUE(hasLine(examine(35, {0}), "GROUP mode is disabled"));
}

TEST(HumgatherExamineAnswers, AnswerLengthsFollowTheAddressing)
{
    EXPECT_EQ(examineAnswerLength(36, 1), 14u);
    EXPECT_EQ(examineAnswerLength(36, 0), 30u); // never asked: read as expanded, after the warning
    EXPECT_EQ(examineAnswerLength(50, 1), 5u);
    EXPECT_EQ(examineAnswerLength(50, 2), 7u);
    EXPECT_TRUE(needsAddressingWarning(36, 0));
    EXPECT_FALSE(needsAddressingWarning(36, 1));
    EXPECT_EQ(examineAnswerLength(4, 1), 2u);
    // The command set's lengths, also outside the menu; unknown numbers have none.
    EXPECT_EQ(examineAnswerLength(17, 1), 1u);
    EXPECT_EQ(examineAnswerLength(19, 1), 1u);
    EXPECT_FALSE(examineAnswerLength(77, 1));
    EXPECT_FALSE(examineAnswerLength(8, 1)); // listed without an answer
}

TEST(HumgatherExamineAnswers, AnswersOfUnknownLengthSayWhatCame)
{
    EXPECT_TRUE(hasLine(examine(17, {1}), "Rotate xyz with ref frame = 1 "));
    EXPECT_TRUE(hasLine(examine(8, {1}), "data ready is enabled"));
    EXPECT_TRUE(hasLine(examine(8, {}), "The unit gave no answer to examine value 8."));
    const auto unknown = examine(9, {0, 7});
    ASSERT_EQ(unknown.lines.size(), 2u);
    EXPECT_EQ(unknown.lines[1], " 0 7");
}

TEST(HumgatherExamineAnswers, SystemStatusPausesAfterTheFifteenthUnit)
{
    std::vector<std::uint8_t> answer(30, 0xE1); // accessible, running, sensor, standard transmitter
    answer[1] = 0x11 | 0x08;                    // extended range with ERT3
    const auto outcome = examine(36, answer, 2);
    EXPECT_EQ(outcome.lines[0], "Vornset 1 SYS STATUS =  225 ACCESSIBLE, RUNNING, SENSOR, STD. XMTR");
    EXPECT_EQ(outcome.lines[1], "Vornset 2 SYS STATUS =  25 NOT ACCESSIBLE, NOT RUNNING, NO SENSOR,ERT3");
    EXPECT_EQ(outcome.pauseAfterLine, std::vector<std::size_t> {15});
    for (const auto& line : outcome.lines)
        EXPECT_LT(line.size(), 80u) << line;

    const auto config = examine(50, {0x05, 0x80, 0, 0, 0xFF}, 1);
    EXPECT_EQ(config.lines[0], "Config Byte 1               00000101");
    EXPECT_EQ(config.lines[4], "Config Byte 5               11111111");
}

TEST(HumgatherExamineAnswers, ShortAnswerShowsNothing)
{
    EXPECT_TRUE(examine(5, {1, 2, 3}).lines.empty());
}

TEST(HumgatherChangeValues, WordsAndBytes)
{
    EXPECT_EQ(filterWord(1, 0, 1), 5);
    EXPECT_EQ(filterWord(1, 1, 1), 7);
    std::vector<std::uint8_t> word;
    appendWord(word, -2);
    EXPECT_EQ(word, (std::vector<std::uint8_t> {0xFE, 0xFF}));
    EXPECT_EQ(byteValue(255), 255);
    EXPECT_FALSE(byteValue(256));
    EXPECT_FALSE(byteValue(-1));
}

TEST(HumgatherChangeValues, MeasurementRateCodings)
{
    // 20 MHz: tick 0.4 us; 100 Hz is ((10 - 0.3) / 4) ms = 2425 us = 6062.5 ticks, rounded to even.
    EXPECT_EQ(rateCountWord(100.0f, 0.4f), 6062);
    EXPECT_EQ(rateWord(103.3f), 26445);
    EXPECT_EQ(rateWord(200.0f), 51200 - 65536);
}

TEST(HumgatherChangeValues, CodableRatesDependOnTheCrystalSpeed)
{
    // 20 MHz: 12 Hz is a count of 51896 and fits; 40 MHz doubles the count, so 12 Hz does not.
    EXPECT_EQ(codableRates(true, 0.4f).lowest, 12.0);
    const RateRange fast = codableRates(true, 0.2f);
    EXPECT_DOUBLE_EQ(fast.lowest, 18.97);
    EXPECT_EQ(static_cast<std::uint16_t>(rateCountWord(18.97f, 0.2f)), 65519);
    EXPECT_GT(((1000.0 / 18.96 - 0.3) / 4.0) * 1000.0 / 0.2, 65535.0);
    EXPECT_GE(rateCountWord(static_cast<float>(fast.highest), 0.2f), 1);
    EXPECT_DOUBLE_EQ(codableRates(false, 0.2f).highest, 255.99);
}

TEST(HumgatherChangeValues, MetalDetectionGoesAsFiveWordsWithNegativesInTheLowByte)
{
    const auto bytes = metalDetectionBytes({2, 10, -5, -127, 12});
    EXPECT_EQ(bytes, (std::vector<std::uint8_t> {2, 0, 10, 0, 251, 0, 129, 0, 12, 0}));
}

TEST(HumgatherChangeValues, TablesAreScaledAndRounded)
{
    const std::array<float, 7> entries {0.02f, 0.5f, 1.0f / 65536, -0.25f, 0, 0.9f, 0.9996f};
    const auto bytes = tableBytes(std::span<const float, 7>(entries), 32768.0f);
    ASSERT_EQ(bytes.size(), 14u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 655);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 16384);
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 0); // half rounds to even
    EXPECT_EQ(bytes[6] | bytes[7] << 8, 0x10000 - 8192);
}

} // namespace
} // namespace vorn::humgather
