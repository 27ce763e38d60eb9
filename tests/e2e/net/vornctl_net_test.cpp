// vornctl over its TCP/IP, ISA and PV2 connections against the simulator.
#include "controller/controller_server.h"
#include "isa/port_io_server.h"
#include "vornctl_run.h"

#include <cstdlib>

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
    EXPECT_EQ(countLines(frames.out), 1 + 3 * 3) << frames.out;  // header, then a line per unit and frame

    const ProgramRun stream = vornctl({"stream", "-t", server, "-c", "20", "-o", "csv", "-q", "-f", "position-angles"});
    EXPECT_EQ(stream.status, 0) << stream.err;
    EXPECT_EQ(countLines(stream.out), 1 + 20 * 3) << stream.out;
    EXPECT_EQ(controller.deviceConfig(2).dataFormat, 4);

    const ProgramRun refused = vornctl({"info", "--tcpip", "127.0.0.1:1", "-q"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("vornctl: wake-up failed"), std::string::npos) << refused.err;
    EXPECT_EQ(vornctl({"info", "--tcpip", "nohost", "-q"}).status, 2);
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
    unsetenv("VORN_PORTIO");
    boards.stop();
}

} // namespace

#endif
