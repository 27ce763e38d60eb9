// The per-client queue that drops old frames, the scanner that reads clients'
// messages off without keeping them, and the configuration file and options.
#include "config_file.h"
#include "frame_queue.h"
#include "igtl_decoder.h"
#include "incoming_scanner.h"
#include "server_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace vornigtl {
namespace {

TEST(FrameQueue, KeepsTheNewestFramesInOrder)
{
    FrameQueue queue(3);
    std::vector<uint8_t> out;
    for (uint8_t n = 1; n <= 5; ++n)
        EXPECT_EQ(queue.push(&n, 1), n > 3) << int(n);
    EXPECT_EQ(queue.size(), 3u);
    for (uint8_t expected : {3, 4, 5}) {
        ASSERT_TRUE(queue.pop(out));
        EXPECT_EQ(out, std::vector<uint8_t> {expected});
    }
    EXPECT_FALSE(queue.pop(out));
}

std::vector<uint8_t> joined(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(IncomingScanner, FollowsMessagesSplitAnywhere)
{
    const auto bytes = joined({igtltest::makeMessage(2, "STATUS", "Slicer", std::vector<uint8_t>(40, 1)),
                               igtltest::makeMessage(1, "GET_CAPABIL", "", {}),
                               igtltest::makeMessage(1, "STRING", "x", std::vector<uint8_t>(1000, 0xFF))});
    for (std::size_t chunk : {1u, 7u, 58u, 59u, 4096u}) {
        IncomingScanner scanner(1 << 20);
        std::vector<MessageHeader> headers;
        for (std::size_t at = 0; at < bytes.size(); at += chunk)
            ASSERT_EQ(scanner.feed(bytes.data() + at, std::min(chunk, bytes.size() - at), headers),
                      IncomingScanner::Verdict::Fine);
        ASSERT_EQ(headers.size(), 3u) << chunk;
        EXPECT_EQ(headers[0].type, "STATUS");
        EXPECT_EQ(headers[0].version, 2);
        EXPECT_EQ(headers[1].type, "GET_CAPABIL");
        EXPECT_EQ(headers[2].bodySize, 1000u);
    }
}

TEST(IncomingScanner, RefusesGarbageAndOversizedMessages)
{
    std::vector<MessageHeader> headers;
    const std::vector<uint8_t> garbage(100, 0xA5);
    EXPECT_EQ(IncomingScanner(1024).feed(garbage.data(), garbage.size(), headers), IncomingScanner::Verdict::Garbage);
    const std::string http = "GET / HTTP/1.1\r\nHost: x\r\n\r\n" + std::string(40, ' ');
    EXPECT_EQ(IncomingScanner(1024).feed(reinterpret_cast<const uint8_t*>(http.data()), http.size(), headers),
              IncomingScanner::Verdict::Garbage);
    auto huge = igtltest::makeMessage(1, "IMAGE", "", {});
    huge[42] = 0x7F; // a body size of about 2^63
    EXPECT_EQ(IncomingScanner(1024).feed(huge.data(), huge.size(), headers), IncomingScanner::Verdict::Oversized);
}

TEST(ServerOptions, ConfigFileLinesBecomeOptionsAndTheCommandLineWins)
{
    const auto parsed = argumentsOfConfigText("# sample\nport = 2,3\n\nstand-alone  # one unit\n  baud=9600\n", "f");
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(*parsed.arguments, (std::vector<std::string> {"--port", "2,3", "--stand-alone", "--baud", "9600"}));
    for (const char* bad : {"= 3\n", "--port = 1\n", "two words = 1\n", "config = other\n"})
        EXPECT_FALSE(argumentsOfConfigText(bad, "f").arguments) << bad;

    const std::string path = ::testing::TempDir() + "vorn-igtl-" + std::to_string(getpid()) + ".conf";
    std::ofstream(path) << "port = 4\nlisten-port = 20000\nformat = position-matrix\nqueue = 3\n";
    const auto options = parseServerArguments({"--config", path, "--listen-port", "0", "-b", "9600"});
    std::remove(path.c_str());
    ASSERT_TRUE(options.options) << options.error;
    EXPECT_EQ(options.options->group.ports, (std::vector<uint16_t> {4}));
    EXPECT_EQ(options.options->group.baud, 9600u);
    EXPECT_EQ(options.options->group.settings.dataFormat, 5);
    EXPECT_EQ(options.options->server.port, 0);
    EXPECT_EQ(options.options->server.queueFrames, 3u);
}

TEST(ServerOptions, BadValuesAndArgumentsAreRefusedWithAReason)
{
    for (const auto& args : std::vector<std::vector<std::string>> {{"--listen-port", "70000"},
                                                                   {"--queue", "0"},
                                                                   {"--max-clients"},
                                                                   {"stream"},
                                                                   {"--port", "0"},
                                                                   {"--no-such-option"},
                                                                   {"--config", "/nonexistent/vorn-igtl.conf"},
                                                                   {"-s", "-p", "1,2"}}) {
        const auto parsed = parseServerArguments(args);
        EXPECT_FALSE(parsed.options) << args.front();
        EXPECT_FALSE(parsed.error.empty()) << args.front();
    }
    EXPECT_TRUE(parseServerArguments({"--help", "--bogus"}).options->help);
    EXPECT_EQ(parseServerArguments({}).options->server.port, 18944);
}

} // namespace
} // namespace vornigtl
