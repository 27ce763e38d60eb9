// vorn-igtl as a service whose units go away while it streams: a serial line
// hung up and back, a networked controller stopped and started again on its
// port. Clients stay connected, hear what happened as STATUS, and get
// TRANSFORMs again when the units are back; SIGTERM ends the wait for them.
#include "child_process.h"
#include "controller/controller_server.h"
#include "simulator.h"
#include "test_client.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace std::chrono_literals;
using igtltest::ChildProcess;
using igtltest::Message;

uint16_t startServer(ChildProcess& server)
{
    if (!server.waitFor("port ", 10s))
        return 0;
    return static_cast<uint16_t>(server.numberAfter("listening on 127.0.0.1 port "));
}

std::vector<std::string> serverArgs(std::vector<std::string> link)
{
    std::vector<std::string> args {"--listen-address", "127.0.0.1", "--listen-port", "0"};
    args.insert(args.end(), link.begin(), link.end());
    return args;
}

bool isTransform(const Message& m)
{
    return m.type == "TRANSFORM";
}

bool isStatus(const Message& m, uint16_t code)
{
    return m.type == "STATUS" && igtltest::statusOf(m) && igtltest::statusOf(m)->code == code;
}

// Reads until the units are lost and back: the lost STATUS (its text), then
// STATUS OK, then a TRANSFORM. Empty when that did not happen.
std::string lostAndBack(igtltest::TestClient& client, std::chrono::milliseconds limit)
{
    const auto lost = client.receiveUntil([](const Message& m) { return isStatus(m, 18); }, limit);
    if (lost.empty() || !isStatus(lost.back(), 18))
        return {};
    const auto back = client.receiveUntil([](const Message& m) { return isStatus(m, 1) || isTransform(m); }, limit);
    if (back.empty() || !isStatus(back.back(), 1))
        return {};
    const auto resumed = client.receiveUntil(isTransform, 5s);
    if (resumed.empty() || !isTransform(resumed.back()))
        return {};
    return igtltest::statusOf(lost.back())->errorName + ": " + igtltest::statusOf(lost.back())->text;
}

TEST(VornIgtlRideOut, AHungUpLineIsToldToClientsAndTheStreamResumes)
{
    vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(1));
    simulator.start();
    simulator.exportEnvironment();
    ChildProcess server(VORN_IGTL_PATH, serverArgs({"--port", "1", "--units", "1", "--read-timeout", "500"}));
    const uint16_t port = startServer(server);
    ASSERT_NE(port, 0) << server.err();
    igtltest::TestClient client(port);
    ASSERT_FALSE(client.receiveUntil(isTransform, 20s).empty()) << server.err();

    simulator.line(1).closeLine(300ms);
    const std::string lost = lostAndBack(client, 20s);
    EXPECT_EQ(lost.rfind("UnitLost: the units were lost; waking them up again (error code 32)", 0), 0u) << lost << "\n"
                                                                                                        << server.err();
    EXPECT_TRUE(server.waitFor("waking the units up again in 1 s (attempt 1)", 1s)) << server.err();

    server.signal(SIGTERM);
    EXPECT_EQ(server.finish(15s), 0) << server.err();
    simulator.stop();
}

TEST(VornIgtlRideOut, AControllerThatComesBackIsStreamedAgainAndSigtermEndsTheWaitForOneThatDoesNot)
{
    vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(2));
    controller.start();
    ChildProcess server(VORN_IGTL_PATH, serverArgs({"--tcpip", "127.0.0.1:" + std::to_string(controller.port())}));
    const uint16_t port = startServer(server);
    ASSERT_NE(port, 0) << server.err();
    igtltest::TestClient client(port);
    ASSERT_FALSE(client.receiveUntil(isTransform, 10s).empty()) << server.err();

    controller.stop();
    ASSERT_TRUE(server.waitFor("(attempt 2)", 10s)) << server.err();
    // A client that comes while the units are away hears why there is nothing.
    igtltest::TestClient late(port);
    const auto told = late.receiveUntil([](const Message& m) { return isStatus(m, 18); }, 2s);
    EXPECT_FALSE(told.empty() || !isStatus(told.back(), 18));
    controller.reopenListener();
    const std::string lost = lostAndBack(client, 10s);
    EXPECT_EQ(lost.rfind("UnitLost: the units were lost; waking them up again (error code 16)", 0), 0u) << lost << "\n"
                                                                                                        << server.err();
    EXPECT_FALSE(late.receiveUntil(isTransform, 5s).empty());

    controller.hangUpAll();
    controller.closeListener();
    ASSERT_TRUE(server.waitFor("(attempt 3)", 10s)) << server.err();
    const auto asked = std::chrono::steady_clock::now();
    server.signal(SIGTERM);
    EXPECT_EQ(server.finish(5s), 0) << server.err();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1500ms);
    const auto last = client.receiveUntil([](const Message& m) { return isStatus(m, 19); }, 2s);
    EXPECT_FALSE(last.empty() || !isStatus(last.back(), 19));
}

} // namespace
