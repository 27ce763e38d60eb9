// vorn-igtl as users run it, against the simulator: streaming to our decoder,
// to Debian's example receiving client, to a client that talks first and to
// one that never reads; failures told as STATUS; a clean stop on SIGTERM.
#include "child_process.h"
#include "controller/controller_server.h"
#include "simulator.h"
#include "test_client.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using igtltest::ChildProcess;
using igtltest::Message;

bool isTransformOf(const Message& m, const std::string& device)
{
    return m.type == "TRANSFORM" && m.deviceName == device;
}

double determinant(const igtltest::Transform& t)
{
    const auto& r = t.rotation;
    return r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) - r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
           r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
}

// Starts the server on a free loopback port; returns the port, or 0.
uint16_t listeningPort(ChildProcess& server)
{
    if (!server.waitFor("port ", 10s))
        return 0;
    return static_cast<uint16_t>(server.numberAfter("listening on 127.0.0.1 port "));
}

std::vector<std::string> serverArgs(std::vector<std::string> more)
{
    std::vector<std::string> args {"--listen-address", "127.0.0.1", "--listen-port", "0"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(VornIgtlProgram, StreamsAVornsetToEveryKindOfClientAndStopsCleanly)
{
    vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(2));
    simulator.start();
    simulator.exportEnvironment();
    ChildProcess server(VORN_IGTL_PATH, serverArgs({"--port", "1", "--units", "2", "--format", "position-matrix"}));
    const uint16_t port = listeningPort(server);
    ASSERT_NE(port, 0) << server.err();

    igtltest::TestClient ours(port);
    igtltest::TestClient stalled(port, 4096); // never reads
    igtltest::TestClient talker(port);
    std::vector<uint8_t> statusBody(12 + 30, 0);
    statusBody[1] = 12;
    ASSERT_TRUE(talker.send(igtltest::makeMessage(2, "STATUS", "Slicer", statusBody)));

    // First the state while the units wake up, then the sensors' transforms.
    const auto first = ours.receiveCount(1, 5s);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(igtltest::statusOf(first[0])->code, 13) << igtltest::statusOf(first[0])->text;
    ASSERT_TRUE(server.waitFor("streaming Sensor1ToTracker, Sensor2ToTracker", 30s)) << server.err();
    const auto messages = ours.receiveUntil([](const Message& m) { return isTransformOf(m, "Sensor2ToTracker"); }, 10s);
    ASSERT_FALSE(messages.empty());
    std::set<std::string> devices;
    for (const auto& m : messages) {
        EXPECT_TRUE(m.crcMatches()) << m.type;
        if (m.type != "TRANSFORM")
            continue;
        devices.insert(m.deviceName);
        const auto transform = igtltest::transformOf(m);
        ASSERT_TRUE(transform);
        EXPECT_NEAR(determinant(*transform), 1.0, 0.01);
        const auto& p = transform->translation;
        EXPECT_LT(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 72 * 25.4 * 1.8);
        EXPECT_GT(m.time(), 0.0);
    }
    EXPECT_EQ(devices, (std::set<std::string> {"Sensor1ToTracker", "Sensor2ToTracker"}));
    const auto fromTalker = talker.receiveUntil([](const Message& m) { return m.type == "TRANSFORM"; }, 5s);
    ASSERT_FALSE(fromTalker.empty());
    EXPECT_EQ(fromTalker.back().type, "TRANSFORM");

#ifdef IGTL_RECEIVE_CLIENT
    {
        ChildProcess example(IGTL_RECEIVE_CLIENT, {"127.0.0.1", std::to_string(port)});
        EXPECT_TRUE(example.waitFor("Receiving TRANSFORM data type.", 10s)) << example.err();
        // It prints a matrix only when the CRC checked out.
        EXPECT_TRUE(example.waitFor("0, 0, 0, 1", 5s)) << example.out();
        example.signal(SIGTERM);
        example.finish(2s);
    }
#endif

    server.signal(SIGTERM);
    EXPECT_EQ(server.finish(15s), 0) << server.err();
    EXPECT_NE(server.err().find("stopped"), std::string::npos) << server.err();
    const auto last = ours.receiveUntil([](const Message& m) { return m.type == "STATUS"; }, 5s);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(igtltest::statusOf(last.back())->code, 19);
    EXPECT_TRUE(ours.closedByServer(2s));
    simulator.stop();
}

// The same server over the networked controller, ending by itself after --count frames.
TEST(VornIgtlProgram, StreamsTheUnitsOfANetworkedController)
{
    vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(3));
    controller.start();
    ChildProcess server(VORN_IGTL_PATH, serverArgs({"--tcpip", "127.0.0.1:" + std::to_string(controller.port()),
                                                    "--format", "position-angles", "--count", "200"}));
    const uint16_t port = listeningPort(server);
    ASSERT_NE(port, 0) << server.err();
    igtltest::TestClient client(port);
    const auto messages =
        client.receiveUntil([](const Message& m) { return isTransformOf(m, "Sensor3ToTracker"); }, 20s);
    std::set<std::string> devices;
    for (const auto& m : messages)
        if (m.type == "TRANSFORM" && m.crcMatches())
            devices.insert(m.deviceName);
    EXPECT_EQ(devices, (std::set<std::string> {"Sensor1ToTracker", "Sensor2ToTracker", "Sensor3ToTracker"}))
        << server.err();
    EXPECT_EQ(server.finish(30s), 0) << server.err();
    EXPECT_NE(server.err().find("200 frame(s) sent"), std::string::npos) << server.err();
    controller.stop();
}

TEST(VornIgtlProgram, AWakeUpThatFailsIsToldToClientsAndEndsTheServer)
{
    const std::string missing = ::testing::TempDir() + "no-such-line-" + std::to_string(getpid());
    setenv("VORN_COM9", missing.c_str(), 1);
    ChildProcess server(VORN_IGTL_PATH, serverArgs({"--port", "9", "--stand-alone"}));
    const uint16_t port = listeningPort(server);
    ASSERT_NE(port, 0) << server.err();
    igtltest::TestClient client(port);
    const auto messages = client.receiveUntil(
        [](const Message& m) { return m.type == "STATUS" && igtltest::statusOf(m)->code == 4; }, 15s);
    EXPECT_EQ(server.finish(15s), 3) << server.err();
    ASSERT_FALSE(messages.empty());
    const auto status = igtltest::statusOf(messages.back());
    EXPECT_EQ(status->code, 4);
    EXPECT_NE(status->text.find("Unable to open comport 9."), std::string::npos) << status->text;
    // The library's own error code, in the STATUS and in the log alike.
    EXPECT_NE(status->text.find("failed (error code 1)"), std::string::npos) << status->text;
    EXPECT_EQ(server.err().find("error code 0"), std::string::npos) << server.err();
    EXPECT_NE(server.err().find("COM9 is " + missing), std::string::npos) << server.err();
}

// The user "nobody" meets a line only root may open: the log names the dialout group.
TEST(VornIgtlProgram, ALineWithoutPermissionIsExplained)
{
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to act as another user";
    char folder[] = "/tmp/vorn-igtl-perm-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    chmod(folder, 0755);
    const std::string line = std::string(folder) + "/ttyUSB0";
    close(open(line.c_str(), O_CREAT | O_WRONLY, 0600));
    setenv("VORN_COM4", line.c_str(), 1);
    ChildProcess server("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", VORN_IGTL_PATH,
                                             "--listen-port", "0", "--port", "4", "--stand-alone"});
    EXPECT_EQ(server.finish(15s), 3) << server.err();
    unlink(line.c_str());
    rmdir(folder);
    EXPECT_NE(server.err().find("COM4 is " + line + ": Permission denied (add your user to the 'dialout' group"),
              std::string::npos)
        << server.err();
}

TEST(VornIgtlProgram, BadOptionsAreRefusedBeforeAnythingStarts)
{
    ChildProcess server(VORN_IGTL_PATH, {"--listen-port", "99999"});
    EXPECT_EQ(server.finish(5s), 2);
    EXPECT_NE(server.err().find("--listen-port"), std::string::npos) << server.err();
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>> {{"--config", ::testing::TempDir()}, // a folder reads as an empty file
                                                {"--listen-address", "localhost"},  // a host name, not an address
                                                {"--listen-address", "300.1.2.3"}}) {
        ChildProcess refused(VORN_IGTL_PATH, bad);
        EXPECT_EQ(refused.finish(5s), 2) << bad[0] << " " << bad[1] << ": " << refused.err();
        EXPECT_NE(refused.err().find(bad[1]), std::string::npos) << refused.err();
    }
    ChildProcess help(VORN_IGTL_PATH, {"--help"});
    EXPECT_EQ(help.finish(5s), 0);
    EXPECT_NE(help.out().find("Sensor<address>ToTracker"), std::string::npos);
}

} // namespace
