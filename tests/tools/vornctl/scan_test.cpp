// vornctl scan's command line and how it names what it found.
#include "scan_options.h"
#include "scan_report.h"

#include <gtest/gtest.h>

namespace vornctl {
namespace {

TEST(Scan, CommandLineTakesListsOfPortsAndRatesInAnyOrder)
{
    ScanParse parse =
        parseScanCommandLine({"-q", "scan", "--port=1,/dev/ttyUSB0", "-b", "9600,115200", "-t", "10.0.0.2:4000"});
    ASSERT_TRUE(parse.isScan);
    ASSERT_TRUE(parse.options) << parse.error;
    EXPECT_EQ(parse.options->ports, (std::vector<std::string> {"1", "/dev/ttyUSB0"}));
    EXPECT_EQ(parse.options->bauds, (std::vector<uint32_t> {9600, 115200}));
    EXPECT_EQ(parse.options->controllers, (std::vector<std::string> {"10.0.0.2:4000"}));
    EXPECT_TRUE(parse.options->quiet);

    parse = parseScanCommandLine({"scan"});
    ASSERT_TRUE(parse.options);
    EXPECT_EQ(parse.options->bauds.front(), 115200u); // the usual rate first
    EXPECT_EQ(parse.options->bauds.size(), 7u);

    EXPECT_FALSE(parseScanCommandLine({"stream", "-p", "1"}).isScan);
    EXPECT_FALSE(parseScanCommandLine({"-p", "1", "record", "scan"}).isScan); // a file named scan
    for (const auto& bad : std::vector<std::vector<std::string>> {{"scan", "-b", "0"},
                                                                  {"scan", "-b", "9600,"},
                                                                  {"scan", "-p", ""},
                                                                  {"scan", "-p"},
                                                                  {"scan", "--count", "3"},
                                                                  {"scan", "extra"},
                                                                  {"scan", "-t", "nohost"}}) {
        parse = parseScanCommandLine(bad);
        EXPECT_TRUE(parse.isScan);
        EXPECT_FALSE(parse.options) << bad.back();
        EXPECT_FALSE(parse.error.empty());
    }
}

TEST(Scan, GroupsUnitsOfTheSameStatus)
{
    EXPECT_EQ(unitsText({{1, 0xE1}, {2, 0xC0 | 0x20}, {3, 0x80}, {4, 0xC0}}),
              "1,2 running; 3 not running, no sensor; 4 running, no sensor");
    EXPECT_EQ(unitsText({}), "");
}

} // namespace
} // namespace vornctl
