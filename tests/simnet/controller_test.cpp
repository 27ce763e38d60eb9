// The simulated networked controller, spoken to with raw packets.
#include "controller/controller_server.h"
#include "model/trajectory.h"
#include "protocol/device_status_block.h"
#include "protocol/system_status_block.h"
#include "protocol/tcpip_record.h"
#include "raw_client.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

using namespace vorn::sim;
using vorn::protocol::PacketHeader;

namespace {

constexpr uint8_t kWakeUp = 10, kShutDown = 11, kGetStatus = 101, kSendSetup = 102, kSingleShot = 103,
                  kRunContinuous = 104, kStopData = 105;

class ControllerTest : public ::testing::Test {
protected:
    void start(ControllerConfig config = controllerConfig(3))
    {
        server = std::make_unique<ControllerServer>(std::move(config));
        server->start();
        client = std::make_unique<RawClient>(server->port());
        ASSERT_TRUE(client->connected());
    }

    PacketHeader answerTo(uint8_t type, uint8_t subtype = 0, uint16_t sequence = 0,
                          const std::vector<uint8_t>& data = {}, uint8_t protocolVersion = 3)
    {
        client->request(type, subtype, sequence, data, protocolVersion);
        const auto header = client->readHeader();
        EXPECT_TRUE(header.has_value()) << "no answer to packet type " << int(type);
        return header.value_or(PacketHeader {});
    }

    std::unique_ptr<ControllerServer> server;
    std::unique_ptr<RawClient> client;
};

TEST_F(ControllerTest, AnswersWakeUpAndStatusRequestsWithTheirBlocks)
{
    start();
    const PacketHeader woken = answerTo(kWakeUp, 0, 41);
    EXPECT_EQ(woken.type, 20);
    EXPECT_EQ(woken.sequence, 41);
    EXPECT_EQ(woken.errorCode, 0);
    EXPECT_EQ(woken.dataLength, 0);

    const PacketHeader system = answerTo(kGetStatus, 0, 42);
    ASSERT_EQ(system.type, 201);
    ASSERT_EQ(system.dataLength, 136);
    const auto block = client->read(136).value();
    EXPECT_EQ(std::string(block.begin() + 5, block.begin() + 11), "103300");
    EXPECT_EQ(block[2], 3); // units
    EXPECT_EQ(block[14] << 8 | block[15], 0x0300);
    EXPECT_EQ(block[16], 0xE1); // unit 1: accessible, running, sensor, transmitter
    EXPECT_EQ(block[19], 0);    // unit 4 does not exist

    const PacketHeader device = answerTo(kGetStatus, 2, 43);
    ASSERT_EQ(device.type, 201);
    ASSERT_EQ(device.subtype, 2);
    ASSERT_EQ(device.dataLength, 70);
    const auto unit = client->read(70).value();
    EXPECT_EQ(unit[11], 2);   // address
    EXPECT_EQ(unit[6], 0x78); // format 8 with its 7 words
    EXPECT_EQ(server->received().size(), 3u);
}

TEST_F(ControllerTest, TakesSetupsAndReportsThemBack)
{
    start();
    VornSystemConfig system = server->systemConfig();
    system.measurementRate = 50.25;
    const auto block = vorn::protocol::encodeSystemStatusBlock(vorn::protocol::systemStatusBlockOf(system));
    EXPECT_EQ(answerTo(kSendSetup, 0, 1, {block.begin(), block.end()}).type, 202);
    EXPECT_DOUBLE_EQ(server->systemConfig().measurementRate, 50.25);

    VornDeviceConfig device = server->deviceConfig(3);
    device.dataFormat = 2;
    const auto unit = vorn::protocol::encodeDeviceStatusBlock(device);
    EXPECT_EQ(answerTo(kSendSetup, 3, 2, {unit.begin(), unit.end()}).errorCode, 0);
    EXPECT_EQ(server->deviceConfig(3).dataFormat, 2);
}

TEST_F(ControllerTest, RefusesMalformedRequestsWithAnErrorCode)
{
    start();
    const auto systemBlock =
        vorn::protocol::encodeSystemStatusBlock(vorn::protocol::systemStatusBlockOf(server->systemConfig()));
    std::vector<uint8_t> badRate(systemBlock.begin(), systemBlock.end());
    badRate[7] = 'x';
    VornDeviceConfig format6 = server->deviceConfig(1);
    format6.dataFormat = 6;
    const auto badFormat = vorn::protocol::encodeDeviceStatusBlock(format6);
    struct Case {
        const char* what;
        uint8_t type, subtype;
        std::vector<uint8_t> data;
        uint8_t protocolVersion;
        uint8_t answerType, error;
    } cases[] = {
        {"protocol version 2", kWakeUp, 0, {}, 2, 20, 1},
        {"unknown packet type", 99, 0, {}, 3, 199, 2},
        {"setup without its block", kSendSetup, 0, {}, 3, 202, 3},
        {"setup with a short block", kSendSetup, 1, {1, 2, 3}, 3, 202, 3},
        {"status of a unit that is not there", kGetStatus, 99, {}, 3, 201, 5},
        {"wake-up with a second type byte", kWakeUp, 7, {}, 3, 20, 7},
        {"rate field with a letter", kSendSetup, 0, badRate, 3, 202, 4},
        {"device format 6", kSendSetup, 1, {badFormat.begin(), badFormat.end()}, 3, 202, 4},
    };
    for (const Case& c : cases) {
        const PacketHeader answer = answerTo(c.type, c.subtype, 5, c.data, c.protocolVersion);
        EXPECT_EQ(answer.type, c.answerType) << c.what;
        EXPECT_EQ(answer.errorCode, c.error) << c.what;
        EXPECT_EQ(answer.dataLength, 0) << c.what;
    }
}

TEST_F(ControllerTest, SingleShotSendsOneDataPacketWithEveryUnitsRecord)
{
    start();
    const PacketHeader data = answerTo(kSingleShot);
    ASSERT_EQ(data.type, 210);
    ASSERT_EQ(data.dataLength, 3 * 16); // address, format, seven words
    const auto payload = client->read(data.dataLength).value();
    for (uint8_t unit = 0; unit < 3; ++unit) {
        vorn::protocol::TcpipRecord record;
        ASSERT_TRUE(vorn::protocol::decodeTcpipRecord(std::span(payload).subspan(16u * unit), record).ok());
        EXPECT_EQ(record.address, unit + 1);
        EXPECT_EQ(record.dataFormat, 8);
        EXPECT_NE(record.reading.quaternion[0], 0);
    }
}

TEST_F(ControllerTest, OneXControllerRefusesSingleShots)
{
    ControllerConfig config = controllerConfig(2);
    config.softwareRevision = 0x0105;
    start(config);
    const PacketHeader answer = answerTo(kSingleShot);
    EXPECT_NE(answer.errorCode, 0);
    EXPECT_EQ(answer.dataLength, 0);
}

TEST_F(ControllerTest, StreamsAtTheReportRateUntilStopped)
{
    ControllerConfig config = controllerConfig(1);
    config.measurementRate = 100.0;
    config.reportRate = 2; // 50 packets a second
    start(config);
    EXPECT_EQ(answerTo(kRunContinuous).type, 204);
    const auto begin = std::chrono::steady_clock::now();
    uint32_t previousTime = 0;
    for (int i = 0; i < 25; ++i) {
        const auto header = client->readHeader();
        ASSERT_TRUE(header.has_value());
        ASSERT_EQ(header->type, 210);
        EXPECT_GE(header->timeMs(), previousTime);
        previousTime = header->timeMs();
        ASSERT_TRUE(client->read(header->dataLength).has_value());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_NEAR(seconds, 0.5, 0.15);
    client->request(kStopData);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    while (client->read(1, 50)) {
    } // what was on its way
    EXPECT_FALSE(client->read(1, 200).has_value());
}

TEST_F(ControllerTest, HangsUpOnShutDown)
{
    start();
    answerTo(kWakeUp);
    client->request(kShutDown);
    EXPECT_TRUE(client->closedByPeer());
    ASSERT_TRUE(server->received().waitFor(2, std::chrono::seconds(1)));
    EXPECT_EQ(server->received().packets()[1].header.type, kShutDown);
}

TEST_F(ControllerTest, GoesAwayAndComesBackOnItsPort)
{
    start();
    const uint16_t port = server->port();
    answerTo(kWakeUp);
    server->hangUpAll();
    server->closeListener();
    EXPECT_TRUE(client->closedByPeer());
    EXPECT_FALSE(RawClient(port).connected());

    // Back while the serving thread runs, then after a full stop: the same port
    // each time, though the connection just closed lingers in TIME_WAIT.
    server->reopenListener();
    server->reopenListener(); // already listening: nothing changes
    client = std::make_unique<RawClient>(port);
    EXPECT_EQ(answerTo(kWakeUp).type, 20);
    server->stop();
    EXPECT_TRUE(client->closedByPeer());
    server->reopenListener();
    EXPECT_EQ(server->port(), port);
    client = std::make_unique<RawClient>(port);
    EXPECT_EQ(answerTo(kWakeUp).type, 20);

    // Someone else took the port while the controller was away, with its
    // serving thread running and after a full stop.
    server->closeListener();
    EXPECT_FALSE(RawClient(port).connected());
    const int squatter = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(squatter, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    ASSERT_EQ(::bind(squatter, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(squatter, 1), 0);
    EXPECT_THROW(server->reopenListener(), std::runtime_error);
    server->stop();
    EXPECT_THROW(server->reopenListener(), std::runtime_error);
    ::close(squatter);
}

TEST_F(ControllerTest, CommitsTheFaultsItIsGiven)
{
    start();
    server->setFaults({.answerType = 77});
    EXPECT_EQ(answerTo(kWakeUp).type, 77);
    server->setFaults({.errorCode = 9, .errorExtension = 300});
    const PacketHeader refused = answerTo(kGetStatus);
    EXPECT_EQ(refused.errorCode, 9);
    EXPECT_EQ(refused.errorExtension, 300);
    EXPECT_EQ(refused.dataLength, 0);

    server->setFaults({.announcedPayload = 5000});
    const PacketHeader oversize = answerTo(kSingleShot);
    EXPECT_EQ(oversize.dataLength, 5000);
    EXPECT_TRUE(client->read(5000).has_value());

    server->setFaults({.truncateLastRecord = true});
    EXPECT_EQ(answerTo(kSingleShot).dataLength, 3 * 16 - 1);
    client->read(3 * 16 - 1);

    server->setFaults({.stall = std::chrono::milliseconds(300)});
    client->request(kWakeUp);
    EXPECT_FALSE(client->readHeader(150).has_value());
    EXPECT_TRUE(client->readHeader(1000).has_value());

    server->setFaults({.closeOnRequest = true});
    client->request(kWakeUp);
    EXPECT_TRUE(client->closedByPeer());
}

TEST_F(ControllerTest, FaultsOfOneConnectionLeaveTheOthersAlone)
{
    start();
    EXPECT_EQ(answerTo(kWakeUp).type, 20); // the first connection is accepted: index 0
    EXPECT_EQ(server->setNextConnectionFaults({.answerType = 77}), 1u);
    RawClient second(server->port());
    second.request(kWakeUp);
    EXPECT_EQ(second.readHeader().value_or(PacketHeader {}).type, 77);
    EXPECT_EQ(answerTo(kWakeUp).type, 20);

    server->setConnectionFaults(0, {.errorCode = 9});
    EXPECT_EQ(answerTo(kGetStatus).errorCode, 9);
    second.request(kWakeUp);
    EXPECT_EQ(second.readHeader().value_or(PacketHeader {}).type, 77);

    // Faults for every connection reach those without faults of their own only.
    server->setFaults({.closeOnRequest = true});
    RawClient third(server->port());
    third.request(kWakeUp);
    EXPECT_TRUE(third.closedByPeer());
    second.request(kWakeUp);
    EXPECT_EQ(second.readHeader().value_or(PacketHeader {}).type, 77);
    EXPECT_EQ(server->connectionsAccepted(), 3u);
}

TEST_F(ControllerTest, StreamFaultsFollowTheirConnection)
{
    start();
    EXPECT_EQ(answerTo(kWakeUp).type, 20);
    server->setNextConnectionFaults({.dataPacketType = 99});
    RawClient faulty(server->port());
    EXPECT_EQ(answerTo(kRunContinuous).type, 204);
    faulty.request(kRunContinuous);
    EXPECT_EQ(faulty.readHeader().value_or(PacketHeader {}).type, 204);
    for (int packet = 0; packet < 3; ++packet) {
        const auto clean = client->readHeader();
        ASSERT_TRUE(clean.has_value());
        EXPECT_EQ(clean->type, 210);
        client->read(clean->dataLength);
        const auto bad = faulty.readHeader();
        ASSERT_TRUE(bad.has_value());
        EXPECT_EQ(bad->type, 99);
        faulty.read(bad->dataLength);
    }
}

// The controller's units measure with the simulator's physical model: a still sensor
// reports its configured place and orientation at the device block's scaling.
TEST_F(ControllerTest, RecordsFollowEachUnitsConfiguredSensor)
{
    ControllerConfig config = controllerConfig(2);
    for (auto& unit : config.units) {
        unit.sensorModel.trajectory.kind = TrajectoryKind::Still;
        unit.sensorModel.positionNoiseInches = 0.0;
        unit.sensorModel.angleNoiseDegrees = 0.0;
        unit.dataFormat = 4; // position/angles
    }
    config.units[0].sensorModel.trajectory.center = {36.0, -18.0, 9.0};
    config.units[1].sensorModel.trajectory.angles = {90.0, 0.0, 0.0};
    start(config);
    const PacketHeader data = answerTo(kSingleShot);
    ASSERT_EQ(data.dataLength, 2 * 14);
    const auto payload = client->read(data.dataLength).value();
    vorn::protocol::TcpipRecord first, second;
    ASSERT_TRUE(vorn::protocol::decodeTcpipRecord(payload, first).ok());
    ASSERT_TRUE(vorn::protocol::decodeTcpipRecord(std::span(payload).subspan(14), second).ok());
    EXPECT_NEAR(first.reading.position[0], 32767 / 2, 1); // 36 of 72 inches
    EXPECT_NEAR(first.reading.position[1], -32767 / 4, 1);
    EXPECT_NEAR(first.reading.position[2], 32767 / 8, 1);
    EXPECT_EQ(first.reading.angles[0], 0);
    EXPECT_NEAR(second.reading.angles[0], 32767 / 2, 1); // azimuth 90 degrees
}

} // namespace
