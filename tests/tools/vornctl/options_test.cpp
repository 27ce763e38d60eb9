#include "options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vornctl {
namespace {

std::vector<std::string> split(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

struct Refusal {
    const char* line;
    const char* mentions; // a part of the message
};

void expectRefusals(const std::vector<Refusal>& cases)
{
    for (const auto& c : cases) {
        const auto parsed = parseCommandLine(split(c.line));
        EXPECT_FALSE(parsed.options) << c.line;
        EXPECT_NE(parsed.error.find(c.mentions), std::string::npos) << c.line << " -> " << parsed.error;
    }
}

TEST(VornctlOptions, AcceptsTheDocumentedForms)
{
    auto parsed = parseCommandLine(split("stream -p 3,0,4 --units=4 -b 9600 --read-timeout 150 -f position-angles "
                                         "--rate 103.3 --hemisphere top --filters dc,narrow -d 2.5 -o json"));
    ASSERT_TRUE(parsed.options) << parsed.error;
    const Options& o = *parsed.options;
    EXPECT_EQ(o.command, Command::Stream);
    EXPECT_EQ(o.ports, (std::vector<uint16_t> {3, 0, 4}));
    EXPECT_EQ(o.unitCount(), 4);
    EXPECT_EQ(o.baud, 9600u);
    EXPECT_EQ(o.readTimeoutMs, 150u);
    EXPECT_EQ(o.settings.dataFormat, 4);
    EXPECT_DOUBLE_EQ(*o.settings.measurementRate, 103.3);
    EXPECT_EQ(o.settings.hemisphere, 2);
    EXPECT_EQ(o.settings.filters, 5);
    EXPECT_DOUBLE_EQ(*o.durationS, 2.5);
    EXPECT_EQ(o.output, OutputFormat::Json);
}

TEST(VornctlOptions, UnitCountFollowsThePortsUnlessGiven)
{
    EXPECT_EQ(parseCommandLine(split("info -p 1,2,3")).options->unitCount(), 3);
    EXPECT_EQ(parseCommandLine(split("info -s -p 5")).options->unitCount(), 1);
    EXPECT_EQ(parseCommandLine(split("info -p 1 -n 3")).options->unitCount(), 3);
}

TEST(VornctlOptions, RefusesBadInputWithAMessageNamingIt)
{
    expectRefusals({
        {"", "no command"},
        {"launch", "unknown command 'launch'"},
        {"stream --colour", "unknown option '--colour'"},
        {"stream -p", "needs a value"},
        {"stream -p 0,1", "--port"}, // the master needs a line
        {"stream -p 1,x", "--port"},
        {"stream -n 127", "--units"},
        {"stream -n 0", "--units"},
        {"stream -b fast", "--baud"},
        {"stream -g 257", "--group"},
        {"stream -g -1", "--group"},
        {"stream --rate 0", "--rate"},
        {"stream --rate -5", "--rate"},
        {"stream --rate nan", "--rate"},
        {"stream --rate inf", "--rate"},
        {"stream --rate 256", "--rate"}, // rate x 256 must fit a 16-bit word
        {"stream -f factory", "--format"},
        {"stream --hemisphere up", "--hemisphere"},
        {"stream --filters dc,hum", "--filters"},
        {"stream --scaling 144", "--scaling"},
        {"stream --report-rate 4", "--report-rate"},
        {"stream -c 0", "--count"},
        {"stream -d 0", "--duration"},
        {"stream -c 5 -d 1", "exclude each other"},
        {"stream -o xml", "--output"},
        {"stream --quiet=yes", "takes no value"},
        {"info -s -p 1,2", "stand-alone"},
        {"info -p 1,2,3 -n 2", "more ports than units"},
        {"reading -p 1,0 -u 3", "--unit must name a unit"},
        {"info info", "unexpected argument"},
    });
}

TEST(VornctlOptions, HelpAndVersionWinOverEverythingElse)
{
    EXPECT_EQ(parseCommandLine(split("stream --bogus --help")).options, std::nullopt);
    EXPECT_EQ(parseCommandLine(split("--help stream --bogus")).options->command, Command::Help);
    EXPECT_EQ(parseCommandLine(split("--version")).options->command, Command::Version);
}

} // namespace
} // namespace vornctl

namespace vornctl {
namespace {

TEST(VornctlOptions, NetworkAndBoardConnections)
{
    auto tcpip = parseCommandLine(split("info --tcpip controller.lab:4000"));
    ASSERT_TRUE(tcpip.options) << tcpip.error;
    EXPECT_EQ(tcpip.options->connection, Connection::Tcpip);
    EXPECT_EQ(tcpip.options->server, "controller.lab");
    EXPECT_EQ(tcpip.options->serverPort, 4000);
    EXPECT_EQ(tcpip.options->unitCount(), 0); // as many as the controller reports

    auto isa = parseCommandLine(split("frame --isa 0x300,800,0"));
    ASSERT_TRUE(isa.options) << isa.error;
    EXPECT_EQ(isa.options->bases, (std::vector<uint16_t> {0x300, 800, 0}));
    EXPECT_EQ(isa.options->unitCount(), 3);

    auto pv2 = parseCommandLine(split("stream --pv2 0x2A0"));
    ASSERT_TRUE(pv2.options) << pv2.error;
    EXPECT_EQ(pv2.options->connection, Connection::Pv2);
    EXPECT_EQ(pv2.options->unitCount(), 2);

    for (const char* bad : {"info --tcpip 4000", "info --tcpip host:0", "info --tcpip host:70000", "info --isa 0,0x300",
                            "info --isa 0x1FFFF", "info --pv2 0", "info --tcpip h:1 -s", "info --isa 0x300,0x320 -s"}) {
        const auto parsed = parseCommandLine(split(bad));
        EXPECT_FALSE(parsed.options) << bad;
        EXPECT_FALSE(parsed.error.empty()) << bad;
    }
}

TEST(VornctlOptions, RefusesOptionsThatConflictOrDoNotApply)
{
    expectRefusals({
        {"info -t h:1 --isa 0x300", "--tcpip and --isa"},
        {"info -p 1 -t h:1", "--port and --tcpip"},
        {"info --pv2 0x300 -p 2", "--port and --pv2"},
        {"info -t h:1 -b 9600", "--baud applies to serial lines"},
        {"stream --isa 0x300 -s --group-mode on", "--group-mode applies to serial lines"},
        {"info -t h:1 --read-timeout 50", "--read-timeout does not apply"},
        {"info --pv2 0x300 -n 3", "--units does not apply to --pv2"},
        {"info -c 5", "--count applies to"},
        {"set -f position -c 5", "--count applies to"},
        {"info --host-time", "--host-time applies to"},
        {"frame -d 2", "--duration applies to stream"},
        {"stream --ride-out", "--ride-out applies to record only"},
        {"info -o csv", "JSON with --output json"},
        // A vornset's ISA boards cannot stream: refused before the 6 s wake-up.
        {"stream --isa 0x300,0x320,0", "cannot stream"},
        {"stream --isa 0x300 -n 2", "cannot stream"},
    });
    for (const char* fine :
         {"info -o json", "stream --isa 0x300 -s", "stream --pv2 0x300 -c 5", "frame -t h:1 --host-time",
          "stream -p 1,0 -u 2", "reading -p 1 -p 2", "record a.csv -t h:1 --ride-out"}) {
        const auto parsed = parseCommandLine(split(fine));
        EXPECT_TRUE(parsed.options) << fine << " -> " << parsed.error;
    }
}

TEST(VornctlOptions, DevicePathsTakeComNumbersTheNumberedPortsDoNotUse)
{
    auto parsed = parseCommandLine(split("info -p /dev/ttyUSB0,1,0,/dev/serial/by-id/usb-FTDI_A-if00-port0,3"));
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->ports, (std::vector<uint16_t> {2, 1, 0, 4, 3}));
    ASSERT_EQ(parsed.options->portPaths.size(), 2u);
    EXPECT_EQ(parsed.options->portPaths[0].number, 2);
    EXPECT_EQ(parsed.options->portPaths[0].path, "/dev/ttyUSB0");
    EXPECT_EQ(parsed.options->portPaths[1].number, 4);
    EXPECT_EQ(parsed.options->portPaths[1].path, "/dev/serial/by-id/usb-FTDI_A-if00-port0");
    EXPECT_FALSE(parseCommandLine(split("info -p ttyUSB0")).options);
}

} // namespace
} // namespace vornctl
