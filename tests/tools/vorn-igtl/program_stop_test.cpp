// vorn-igtl stopped by its service manager, and setups it cannot serve:
// refused at once with the status its service does not restart.
#include "child_process.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

using namespace std::chrono_literals;
using igtltest::ChildProcess;

constexpr int kBadConfiguration = 2;  // RestartPreventExitStatus of vorn-igtl.service

TEST(VornIgtlStop, SigtermMidStreamLogsNoLibraryError)
{
    vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(2));
    simulator.start();
    simulator.exportEnvironment();
    for (int attempt = 0; attempt < 2; ++attempt) {
        ChildProcess server(VORN_IGTL_PATH, {"--listen-address", "127.0.0.1", "--listen-port", "0", "--port", "1,0"});
        ASSERT_TRUE(server.waitFor("streaming Sensor1ToTracker", 20s)) << server.err();
        std::this_thread::sleep_for(std::chrono::milliseconds(150 * attempt));
        server.signal(SIGTERM);
        EXPECT_EQ(server.finish(15s), 0) << server.err();
        EXPECT_EQ(server.err().find("library:"), std::string::npos) << server.err();
        EXPECT_EQ(server.err().find("failed"), std::string::npos) << server.err();
    }
    simulator.stop();
}

TEST(VornIgtlStop, WhatCannotWorkIsRefusedBeforeTheWakeUp)
{
    struct Case {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Case cases[] = {
        {{"--isa", "0x300,0x320,0"}, "cannot stream"},
        {{"--output", "csv"}, "--output is for vornctl"},
        {{"--port", "1", "--tcpip", "127.0.0.1:4000"}, "--port and --tcpip"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args {"--listen-port", "0"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ChildProcess server(VORN_IGTL_PATH, args);
        EXPECT_EQ(server.finish(3s), kBadConfiguration) << server.err();
        EXPECT_NE(server.err().find(c.mentions), std::string::npos) << server.err();
        EXPECT_EQ(server.err().find("listening"), std::string::npos) << server.err();
    }
}

} // namespace
