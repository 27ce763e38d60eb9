#include <gtest/gtest.h>

#include "vorn/console/leading_number.h"

namespace vorn::console {
namespace {

TEST(LeadingNumber, TakesTheLongestNumberAtTheStart)
{
    const std::pair<const char*, double> cases[] = {
        {"  42", 42.0},    {"-3.5abc", -3.5},    {"1e3", 1000.0}, {"1e", 1.0},
        {"2.5E-1x", 0.25}, {"1D2", 100.0},       {".5", 0.5},     {"abc", 0.0},
        {"", 0.0},         {"+7", 7.0},          {"&H1F", 31.0},  {"&hff", 255.0},
        {"&HFFFF", -1.0},  {"&H10000", 65536.0}, {"&H", 0.0},     {"- 5", 0.0},
        {"12 34", 12.0},   {"1e999", 0.0}, // not a number a single holds
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(parseLeadingNumber(text), expected) << text;
}

TEST(LeadingNumber, AWholeNumberIsOneFiniteNumberAndNothingElse)
{
    const std::pair<const char*, double> numbers[] = {
        {" .1882935 \r", 0.1882935}, {"-5 ", -5.0}, {"1e3", 1000.0}, {"&H1F", 31.0}, {"\t4.999847", 4.999847}};
    for (const auto& [text, expected] : numbers) {
        ASSERT_TRUE(parseWholeNumber(text)) << text;
        EXPECT_DOUBLE_EQ(*parseWholeNumber(text), expected) << text;
    }
    for (const char* text : {"hello", "nan", "inf", "-inf", "12abc", "1,5", "1e999", "", "  ", "- 5", "1 2", "&H"})
        EXPECT_FALSE(parseWholeNumber(text)) << text;
    EXPECT_EQ(leadingNumberLength("  12abc"), 4u);
    EXPECT_EQ(leadingNumberLength("abc"), 0u);
    EXPECT_EQ(leadingNumberLength("&Hff x"), 4u);
}

TEST(LeadingNumber, IntegersRoundHalfToEvenAndSixteenBitsKeepTheLowBits)
{
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(3.5), 4);
    EXPECT_EQ(roundToInt32(-2.5), -2);
    EXPECT_EQ(roundToInt32(2.4999), 2);
    EXPECT_EQ(roundToInt32(1e12), 2147483647);
    EXPECT_EQ(roundToInt32(-1e12), -2147483647 - 1);
    EXPECT_EQ(roundToInt16(65535.0), -1);
    EXPECT_EQ(roundToInt16(65536.0 + 200.0), 200);
    EXPECT_EQ(roundToInt16(-65336.0), 200);
    EXPECT_EQ(roundToInt16(32768.0), -32768);
    EXPECT_EQ(roundToInt16(0.5), 0);
}

} // namespace
} // namespace vorn::console
