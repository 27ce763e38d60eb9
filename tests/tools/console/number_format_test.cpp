#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "vorn/console/basic_number.h"
#include "vorn/console/number_picture.h"
#include "vorn/console/print_zone.h"
#include "vorn/console/text_wrap.h"

namespace vorn::console {
namespace {

struct PictureCase {
    double value;
    const char* picture;
    const char* expected;
};

TEST(NumberPicture, RoundsAlignsAndMarksOverflow)
{
    const PictureCase cases[] = {
        {80.0463, "####.##    ", "  80.05    "},
        {139.950195, "####.##    ", " 139.95    "},
        {0.5, "##.###", " 0.500"},
        {-0.5, "##.##", "-0.50"},
        {-1.25, "###.#### ", " -1.2500 "},
        {9999.994, "####.##", "9999.99"},
        {12345.678, "####.##    ", "%12345.68    "},
        {9999.996, "####.##", "%10000.00"}, // rounding itself can overflow
        {-999.5, "###.#", "%-999.5"},       // the sign needs a place too
        {0.123, ".###", ".123"},            // no room for the zero before the point
        {42.0, "###", " 42"},
        {-0.001, "#.##", "0.00"}, // a value rounding to zero shows no sign
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPicture(c.value, c.picture), c.expected) << c.value << " " << c.picture;
}

TEST(BasicNumber, WritesSevenSignificantDigitsWithSignPlace)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, " 0 "},
        {1234 * 5.0 / 32768.0, " .1882935 "}, // a sample of 1234 at 5 V
        {-2.5, "-2.5 "},
        {-5.0, "-5 "},
        {32767 * 5.0 / 32768.0, " 4.999847 "},
        {2.5 / 32768.0, " .00007629395 "}, // the smallest step at 2.5 V stays plain
        {1234567.4, " 1234567 "},
        {12345678.0, " 1.234568E+07 "},
        {0.000001234, " 1.234E-06 "},
        {-3402.0, "-3402 "},
        {103.3f, " 103.3 "}, // a single keeps its short form
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(basicNumber(value), expected) << value;
    EXPECT_EQ(basicNumberDigits(-0.25), "-.25");
}

TEST(PlainNumber, NeverUsesAnExponent)
{
    EXPECT_EQ(plainNumber(9.023994e-06), " .000009023994 ");
    EXPECT_EQ(plainNumber(1.447171e-05), " .00001447171 ");
    EXPECT_EQ(plainNumber(-12345678.9), "-12345680 ");
    EXPECT_EQ(plainNumber(0.0), " 0 ");
    EXPECT_EQ(basicNumber(9.023994e-06), " 9.023994E-06 "); // screens keep the scaled form
}

TEST(TextWrap, BreaksBetweenWordsWithinTheWidth)
{
    EXPECT_EQ(wrapText("short line"), "short line");
    EXPECT_EQ(wrapText("one two three four", 9), "one two\nthree\nfour");
    EXPECT_EQ(wrapText("keep\nbreaks here", 20), "keep\nbreaks here");
    EXPECT_EQ(wrapText("abcdefghij", 4), "abcd\nefgh\nij");
    const std::string message(200, 'x');
    for (const std::string& text : {"Could not write the rate file /a/very/long/folder/name/that/goes/on/BestRate.dat: "
                                    "No such file or directory. " +
                                        message,
                                    message}) {
        const std::string wrapped = wrapText(text);
        for (std::size_t start = 0, end; start < wrapped.size(); start = end + 1) {
            end = std::min(wrapped.find('\n', start), wrapped.size());
            EXPECT_LE(end - start, kConsoleTextWidth);
        }
    }
}

TEST(PrintZone, PadsToTheNextFourteenColumnZone)
{
    std::string line = " 1.2 ";
    padToNextZone(line);
    EXPECT_EQ(line.size(), 14u);
    line += "x";
    padToNextZone(line);
    EXPECT_EQ(line.size(), 28u);
    std::string full(14, 'a');
    padToNextZone(full);
    EXPECT_EQ(full.size(), 28u);
}

} // namespace
} // namespace vorn::console
