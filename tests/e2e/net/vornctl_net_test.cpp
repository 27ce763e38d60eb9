// vornctl over its TCP/IP, ISA and PV2 connections against the simulator.
#include "controller/controller_server.h"
#include "isa/port_io_server.h"
#include "vornctl_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#if defined(VORNCTL_PATH)

namespace {

TEST(VornctlNet, InfoFramesAndStreamFromTheController)
{
    vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(3));
    controller.start();
    const std::string server = "127.0.0.1:" + std::to_string(controller.port());

    const ProgramRun info = vornctl({"info", "--tcpip", server, "-q"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("103.3"), std::string::npos) << info.out;

    const ProgramRun frames = vornctl({"frame", "--tcpip", server, "-c", "3", "-o", "csv", "-q"});
    EXPECT_EQ(frames.status, 0) << frames.err;
    EXPECT_EQ(countLines(frames.out), 1 + 3 * 3) << frames.out; // header, then a line per unit and frame

    const ProgramRun stream = vornctl({"stream", "-t", server, "-c", "20", "-o", "csv", "-q", "-f", "position-angles"});
    EXPECT_EQ(stream.status, 0) << stream.err;
    EXPECT_EQ(countLines(stream.out), 1 + 20 * 3) << stream.out;
    EXPECT_EQ(controller.deviceConfig(2).dataFormat, 4);

    const ProgramRun refused = vornctl({"info", "--tcpip", "127.0.0.1:1", "-q"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("vornctl: wake-up failed"), std::string::npos) << refused.err;
    EXPECT_EQ(vornctl({"info", "--tcpip", "nohost", "-q"}).status, 2);
    const ProgramRun unresolved = vornctl({"info", "--tcpip", "no-such-host.invalid:4000", "-q"});
    EXPECT_EQ(unresolved.status, 3);
    EXPECT_TRUE(contains(unresolved.err, "the host name 'no-such-host.invalid' cannot be resolved: "))
        << unresolved.err;
    controller.stop();
}

TEST(VornctlNet, ControllerUnitsAreCheckedTimesAreDocumentedAndInfoSpeaksJson)
{
    vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(3));
    controller.start();
    const std::string server = "127.0.0.1:" + std::to_string(controller.port());

    // Only the controller knows it has 3 units: unit 9 is refused, and nothing is changed.
    const ProgramRun set = vornctl({"set", "-t", server, "-u", "9", "-f", "position", "-q"});
    EXPECT_EQ(set.status, 2);
    EXPECT_TRUE(contains(set.err, "--unit 9: the group has units 1..3 only")) << set.err;
    EXPECT_EQ(vornctl({"reading", "-t", server, "-u", "9", "-q"}).status, 2);

    // The frame's time stamp is the controller's clock; --host-time adds the host's.
    const ProgramRun frames = vornctl({"frame", "-t", server, "-c", "2", "-o", "csv", "--host-time", "-q", "-u", "2"});
    EXPECT_EQ(frames.status, 0) << frames.err;
    EXPECT_EQ(frames.out.rfind("time_s,host_time_s,unit,", 0), 0u) << frames.out;
    EXPECT_EQ(countLines(frames.out), 1 + 2) << frames.out; // only unit 2
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    double time = 0, host = 0;
    ASSERT_EQ(std::sscanf(frames.out.c_str() + frames.out.find('\n') + 1, "%lf,%lf", &time, &host), 2);
    EXPECT_NEAR(host, static_cast<double>(now.tv_sec % 4294967), 5.0);

    const ProgramRun json = vornctl({"info", "-t", server, "-o", "json", "-q"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"system\":{\"software_revision\":", 0), 0u) << json.out;
    EXPECT_TRUE(contains(json.out, "\"units\":[{\"unit\":1,")) << json.out;
    EXPECT_TRUE(contains(json.out, "{\"unit\":3,")) << json.out;
    EXPECT_EQ(countLines(json.out), 1);
    controller.stop();
}

TEST(VornctlNet, IsaAndPv2Boards)
{
    vorn::sim::PortIoServer boards(vorn::sim::pv2Config(0x300));
    boards.start();
    boards.exportEnvironment();
    const ProgramRun pv2 = vornctl({"stream", "--pv2", "0x300", "-c", "10", "-o", "csv", "-q"});
    EXPECT_EQ(pv2.status, 0) << pv2.err;
    EXPECT_EQ(countLines(pv2.out), 1 + 10 * 2) << pv2.out;

    const ProgramRun isa = vornctl({"reading", "--isa", "0x300,0", "-c", "2", "-o", "csv", "-q"});
    EXPECT_EQ(isa.status, 0) << isa.err;
    EXPECT_EQ(countLines(isa.out), 1 + 2 * 2) << isa.out;
    EXPECT_EQ(vornctl({"info", "--isa", "0x300", "--stand-alone", "--pv2", "0x300"}).status, 2);

    // No board at 0x340: said so, not only "Invalid addressing mode".
    const ProgramRun absent = vornctl({"info", "--pv2", "0x340", "-q"});
    EXPECT_EQ(absent.status, 3);
    EXPECT_TRUE(contains(absent.err, "the board at 0x0340 reads as all ones")) << absent.err;
    unsetenv("VORN_PORTIO");
    boards.stop();

    // Neither a port-I/O service nor /dev/port to reach the boards with.
    setenv("VORN_PORTIO", "/nonexistent/portio", 1);
    const ProgramRun unreachable = vornctl({"info", "--isa", "0x300", "-s", "-q"});
    EXPECT_EQ(unreachable.status, 3);
    EXPECT_TRUE(contains(unreachable.err, "VORN_PORTIO names /nonexistent/portio, which is no port-I/O service socket"))
        << unreachable.err;
    unsetenv("VORN_PORTIO");
}

TEST(VornctlNet, IsaVornsetFramesShowOnlyUnitsWithABoardAndStreamsAreRefusedAtOnce)
{
    vorn::sim::PortIoServer boards(vorn::sim::isaVornsetConfig({0x300, 0x320, 0}));
    boards.start();
    boards.exportEnvironment();
    const ProgramRun frames = vornctl({"frame", "--isa", "0x300,0x320,0", "-c", "2", "-o", "csv", "-q"});
    EXPECT_EQ(frames.status, 0) << frames.err;
    EXPECT_EQ(countLines(frames.out), 1 + 2 * 2) << frames.out; // units 1 and 2, not the silent unit 3
    EXPECT_FALSE(contains(frames.out, "\n0.000") || contains(frames.out, ",3,")) << frames.out;
    EXPECT_TRUE(contains(frames.err, "unit 3 has no board of its own")) << frames.err;

    boards.rack().clearLog();
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun stream = vornctl({"stream", "--isa", "0x300,0x320,0", "-c", "2", "-q"});
    EXPECT_EQ(stream.status, 2);
    EXPECT_TRUE(contains(stream.err, "cannot stream")) << stream.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(boards.rack().wordsWritten(0x300).empty()); // not even woken up
    unsetenv("VORN_PORTIO");
    boards.stop();
}

} // namespace

#endif
