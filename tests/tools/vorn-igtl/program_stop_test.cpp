// vorn-igtl stopped by its service manager, and setups it cannot serve:
// refused at once with the status its service does not restart.
#include "child_process.h"
#include "controller/controller_server.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using igtltest::ChildProcess;

constexpr int kBadConfiguration = 2; // RestartPreventExitStatus of vorn-igtl.service

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

// The sample configuration names a serial line; a command line that names
// another link replaces it, with the options that belong to it (baud, units).
TEST(VornIgtlStop, TheCommandLinesLinkReplacesTheFiles)
{
    vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(2));
    controller.start();
    const std::string path = ::testing::TempDir() + "vorn-igtl-link-" + std::to_string(getpid()) + ".conf";
    std::ofstream(path) << "port = 1,0,0\nbaud = 115200\nunits = 3\nformat = position-angles\n";
    ChildProcess server(VORN_IGTL_PATH, {"--config", path, "--listen-address", "127.0.0.1", "--listen-port", "0",
                                         "--tcpip", "127.0.0.1:" + std::to_string(controller.port()), "-c", "20"});
    EXPECT_EQ(server.finish(20s), 0) << server.err();
    EXPECT_NE(server.err().find("20 frame(s) sent"), std::string::npos) << server.err();
    EXPECT_EQ(controller.deviceConfig(2).dataFormat, 4); // the file's other options still count
    std::remove(path.c_str());
    controller.stop();
}

} // namespace
