// The listening side with real sockets: several clients, clients that stall,
// talk first, send garbage or huge messages, or vanish; frames keep flowing.
#include "igtl_server.h"
#include "test_client.h"

#include <gtest/gtest.h>

#include <thread>

namespace vornigtl {
namespace {

using namespace std::chrono_literals;

// A frame is one TRANSFORM-sized message whose device name carries its number.
std::vector<uint8_t> frameNumbered(int n)
{
    return igtltest::makeMessage(1, "TRANSFORM", "F" + std::to_string(n), std::vector<uint8_t>(48, 0));
}

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ServerSettings settings;
        settings.address = "127.0.0.1";
        settings.port = 0;
        settings.queueFrames = 4;
        settings.maxBodySize = 4096;
        server = std::make_unique<IgtlServer>(settings);
        std::string error;
        ASSERT_TRUE(server->start(error)) << error;
    }

    bool waitForClients(std::size_t count)
    {
        for (int i = 0; i < 200 && server->clientCount() != count; ++i)
            std::this_thread::sleep_for(10ms);
        return server->clientCount() == count;
    }

    void publish(int n)
    {
        const auto bytes = frameNumbered(n);
        server->publish(bytes.data(), bytes.size());
    }

    static bool isFrame(const igtltest::Message& m, int n) { return m.deviceName == "F" + std::to_string(n); }

    std::unique_ptr<IgtlServer> server;
};

TEST_F(ServerTest, EveryClientGetsTheGreetingAndEveryFrame)
{
    server->announce(StatusCode::Ok, "", "streaming Sensor1ToTracker");
    std::vector<std::unique_ptr<igtltest::TestClient>> clients;
    for (int i = 0; i < 3; ++i)
        clients.push_back(std::make_unique<igtltest::TestClient>(server->port()));
    ASSERT_TRUE(waitForClients(3));
    for (int n = 0; n < 3; ++n)
        publish(n);
    for (auto& client : clients) {
        const auto messages = client->receiveUntil([](const auto& m) { return isFrame(m, 2); }, 2s);
        ASSERT_EQ(messages.size(), 4u);
        EXPECT_EQ(igtltest::statusOf(messages[0])->text, "streaming Sensor1ToTracker");
        for (int n = 0; n < 3; ++n)
            EXPECT_TRUE(isFrame(messages[n + 1], n));
    }
}

TEST_F(ServerTest, AStalledClientLosesOldFramesWhileOthersGetEverything)
{
    igtltest::TestClient stalled(server->port(), 4096);
    igtltest::TestClient reader(server->port());
    ASSERT_TRUE(waitForClients(2));
    constexpr int kFrames = 20000; // far more than the stalled client's socket buffers hold
    std::vector<igtltest::Message> read;
    std::thread readerThread(
        [&] { read = reader.receiveUntil([](const auto& m) { return isFrame(m, kFrames - 1); }, 30s); });
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < kFrames; ++n)
        publish(n);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    readerThread.join();
    EXPECT_LT(elapsed, 5s); // publishing never waited for the stalled client
    ASSERT_FALSE(read.empty());
    EXPECT_TRUE(isFrame(read.back(), kFrames - 1));
    int previous = -1;
    for (const auto& m : read) {
        const int n = std::stoi(m.deviceName.substr(1));
        EXPECT_GT(n, previous);
        previous = n;
    }
    // It receives the newest frames once it reads again, and no torn messages.
    const auto late = stalled.receiveUntil([](const auto& m) { return isFrame(m, kFrames - 1); }, 5s);
    ASSERT_FALSE(late.empty());
    EXPECT_TRUE(isFrame(late.back(), kFrames - 1));
    EXPECT_LT(late.size(), static_cast<std::size_t>(kFrames));
    for (const auto& m : late)
        EXPECT_EQ(m.type, "TRANSFORM");
}

// What waits for a client that stops reading is bounded, the kernel's send buffer included:
// when it reads again it is a few frames behind, not everything published meanwhile.
TEST_F(ServerTest, AClientThatResumesAfterAStallIsOnlyAFewFramesBehind)
{
    igtltest::TestClient stalled(server->port(), 4096);
    ASSERT_TRUE(waitForClients(1));
    constexpr int kFrames = 3000;
    for (int n = 0; n < kFrames; ++n) {
        publish(n);
        if (n % 100 == 0)
            std::this_thread::sleep_for(2ms); // the network thread sends meanwhile
    }
    std::this_thread::sleep_for(100ms);
    const auto late = stalled.receiveUntil([](const auto& m) { return isFrame(m, kFrames - 1); }, 5s);
    ASSERT_FALSE(late.empty());
    EXPECT_TRUE(isFrame(late.back(), kFrames - 1));
    // What its own small receive buffer holds (about 70 of these frames), one frame in the
    // kernel, its queue of 4.
    EXPECT_LT(late.size(), 20u);
    // Past what its buffer held come the newest frames, from its queue.
    ASSERT_GE(late.size(), 4u);
    EXPECT_TRUE(isFrame(late[late.size() - 4], kFrames - 4));
}

TEST_F(ServerTest, AClientThatTalksFirstInTheNewerHeaderVersionIsServed)
{
    igtltest::TestClient client(server->port());
    // What a newer 3D Slicer sends on connect: a STATUS in header version 2 with its extended header.
    std::vector<uint8_t> body(12 + 30, 0);
    body[1] = 12;
    ASSERT_TRUE(client.send(igtltest::makeMessage(2, "STATUS", "Slicer", body)));
    ASSERT_TRUE(client.send(igtltest::makeMessage(2, "GET_CAPABIL", "", {})));
    ASSERT_TRUE(waitForClients(1));
    std::this_thread::sleep_for(50ms);
    publish(7);
    const auto messages = client.receiveUntil([](const auto& m) { return isFrame(m, 7); }, 2s);
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(isFrame(messages.back(), 7));
}

TEST_F(ServerTest, GarbageOversizedAndVanishingClientsAreDroppedAloneOnly)
{
    igtltest::TestClient good(server->port());
    igtltest::TestClient garbage(server->port());
    igtltest::TestClient oversized(server->port());
    ASSERT_TRUE(waitForClients(3));
    garbage.send(std::vector<uint8_t>(500, 0xEE));
    auto huge = igtltest::makeMessage(1, "IMAGE", "", {});
    huge[45] = 0x10; // announces a body of 2^40 bytes
    oversized.send(huge);
    EXPECT_TRUE(garbage.closedByServer(2s));
    EXPECT_TRUE(oversized.closedByServer(2s));
    for (int i = 0; i < 20; ++i) {
        igtltest::TestClient vanishing(server->port());
    }
    publish(1);
    const auto messages = good.receiveUntil([](const auto& m) { return isFrame(m, 1); }, 2s);
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(isFrame(messages.back(), 1));
    EXPECT_TRUE(waitForClients(1));
}

TEST_F(ServerTest, StopSendsWhatIsQueuedThenCloses)
{
    igtltest::TestClient client(server->port());
    ASSERT_TRUE(waitForClients(1));
    publish(1);
    server->announce(StatusCode::ShutDown, "ShutDown", "the tracker server stops");
    server->stop(1000);
    const auto messages = client.receiveCount(2, 2s);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(igtltest::statusOf(messages[1])->code, 19);
    EXPECT_TRUE(client.closedByServer(1s));
}

TEST_F(ServerTest, ClientsBeyondTheLimitAreRefused)
{
    ServerSettings settings;
    settings.address = "127.0.0.1";
    settings.port = 0;
    settings.maxClients = 1;
    IgtlServer small(settings);
    std::string error;
    ASSERT_TRUE(small.start(error));
    igtltest::TestClient first(small.port());
    std::this_thread::sleep_for(100ms);
    igtltest::TestClient second(small.port());
    // It is told why before the server closes it.
    const auto told = second.receiveCount(1, 2s);
    ASSERT_EQ(told.size(), 1u);
    const auto status = igtltest::statusOf(told[0]);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->code, 5);
    EXPECT_NE(status->text.find("already serves 1 clients"), std::string::npos) << status->text;
    EXPECT_TRUE(second.closedByServer(2s));
    EXPECT_EQ(small.clientCount(), 1u);
}

TEST(IgtlServerStart, SaysWhyItCannotListen)
{
    ServerSettings settings;
    settings.address = "not-an-address";
    IgtlServer server(settings);
    std::string error;
    EXPECT_FALSE(server.start(error));
    EXPECT_NE(error.find("not-an-address"), std::string::npos);
}

} // namespace
} // namespace vornigtl
