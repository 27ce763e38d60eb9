// The simulated ISA boards, reached through the port-I/O socket with raw
// 12-byte requests.
#include "inspect/sent_readings.h"
#include "isa/port_io_server.h"
#include "model/trajectory.h"
#include "protocol/isa_record.h"
#include "protocol/record_shape.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

using namespace vorn::sim;

namespace {

constexpr uint16_t kBase = 0x300;

class PortClient {
public:
    explicit PortClient(const std::filesystem::path& path)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~PortClient() { ::close(fd_); }

    bool connected() const { return connected_; }

    // One access; nullopt when no whole answer came.
    std::optional<uint32_t> access(uint32_t operation, uint16_t port, uint32_t value, int timeoutMs = 1000)
    {
        uint8_t bytes[12];
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<uint8_t>(operation >> (8 * i));
            bytes[4 + i] = static_cast<uint8_t>(uint32_t {port} >> (8 * i));
            bytes[8 + i] = static_cast<uint8_t>(value >> (8 * i));
        }
        if (::send(fd_, bytes, 12, MSG_NOSIGNAL) != 12)
            return std::nullopt;
        std::size_t got = 0;
        while (got < 12) {
            pollfd p {fd_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0)
                return std::nullopt;
            const ssize_t n = ::recv(fd_, bytes + got, 12 - got, 0);
            if (n <= 0)
                return std::nullopt;
            got += static_cast<std::size_t>(n);
        }
        EXPECT_EQ(bytes[0], operation);
        return uint32_t {bytes[8]} | uint32_t {bytes[9]} << 8 | uint32_t {bytes[10]} << 16 | uint32_t {bytes[11]} << 24;
    }

    uint16_t readPort(uint16_t port) { return static_cast<uint16_t>(access(8, port, 0).value_or(0xDEAD)); }
    void writePort(uint16_t port, uint16_t word) { access(11, port, word); }
    uint16_t status(uint16_t base = kBase) { return readPort(static_cast<uint16_t>(base + 2)); }
    void command(std::initializer_list<uint16_t> words, uint16_t base = kBase)
    {
        for (uint16_t w : words)
            writePort(base, w);
    }
    std::vector<uint16_t> answers(uint16_t base = kBase)
    {
        std::vector<uint16_t> words;
        while (status(base) & 2)
            words.push_back(readPort(base));
        return words;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

class IsaBoardsTest : public ::testing::Test {
protected:
    void start(IsaConfig config)
    {
        server = std::make_unique<PortIoServer>(std::move(config));
        server->start();
        client = std::make_unique<PortClient>(server->path());
        ASSERT_TRUE(client->connected());
    }

    std::unique_ptr<PortIoServer> server;
    std::unique_ptr<PortClient> client;
};

TEST_F(IsaBoardsTest, RegistersAnswerExamineValueInWholeWords)
{
    start(isaStandAloneConfig(kBase));
    EXPECT_EQ(client->status(), 1);             // can take a word, nothing waiting
    EXPECT_EQ(client->readPort(0x310), 0xFFFF); // no board there
    client->command({0x4F01});                  // examine software revision
    EXPECT_EQ(client->status(), 3);
    EXPECT_EQ(client->answers(), std::vector<uint16_t> {0x0343});
    client->command({0x4F0A}); // error code: one byte, in the low half
    EXPECT_EQ(client->answers(), std::vector<uint16_t> {0x0000});
    client->command({0x4F05}); // alpha min: seven words
    EXPECT_EQ(client->answers().size(), 7u);
    client->command({0x4F0F}); // model text, high byte first
    const auto model = client->answers();
    ASSERT_EQ(model.size(), 5u);
    EXPECT_EQ(model[0], uint16_t('6' << 8 | 'D'));
}

TEST_F(IsaBoardsTest, CommandsArePairedHighByteFirstWithAnOddLastBytePadded)
{
    start(isaStandAloneConfig(kBase));
    client->command({0x5023, 0x0001}); // change value 35 (group mode) to the word 1
    EXPECT_TRUE(server->rack().settingsOf(0)->groupMode);
    client->command({0x5600}); // 'V' and a pad byte: position
    EXPECT_EQ(server->rack().settingsOf(0)->dataFormat, 1);
    client->command({0x4D01}); // button mode on
    EXPECT_TRUE(server->rack().settingsOf(0)->button);
    client->command({0x7100, 0x0102, 0xFFFE, 0x0000}); // angle align 1, 0x2FF, -512 and a pad byte
    EXPECT_EQ(server->rack().settingsOf(0)->angleAlign[1], 0x2FF);
    EXPECT_EQ(server->rack().settingsOf(0)->angleAlign[2], -512);
    EXPECT_EQ(server->rack().wordsWritten(kBase).size(), 8u);
}

TEST_F(IsaBoardsTest, ControlRegisterResetsAndClearWordEmptiesTheBoard)
{
    start(isaStandAloneConfig(kBase));
    client->command({0x5023, 0x0001});
    client->writePort(kBase + 2, 0); // held in reset
    EXPECT_EQ(client->status(), 0);
    client->command({0x4F01});
    EXPECT_EQ(client->status(), 0); // a board in reset takes nothing
    client->writePort(kBase + 2, 1);
    EXPECT_EQ(client->status(), 1);
    EXPECT_FALSE(server->rack().settingsOf(0)->groupMode); // powered up afresh

    client->command({0x4000}); // stream
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(client->status(), 3);
    client->command({0x6600}); // clear: stream over, answers gone
    EXPECT_EQ(client->status(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(client->status(), 1);
}

TEST_F(IsaBoardsTest, PointAndStreamDeliverRecordsWithThePhasingFlag)
{
    start(isaStandAloneConfig(kBase));
    client->command({0x4200});
    const auto record = client->answers();
    ASSERT_EQ(record.size(), 6u); // position/angles
    EXPECT_EQ(record[0] & 1, 1);
    EXPECT_EQ(record[1] & 1 && record[2] & 1 && record[3] & 1 && record[4] & 1 && record[5] & 1, false);

    client->command({0x4000});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto streamed = client->answers();
    ASSERT_EQ(streamed.size() % 6, 0u);
    EXPECT_NEAR(streamed.size() / 6.0, 31.0, 5.0); // 103.3 Hz for 0.3 s
    // Only the flag sets a low bit: the values are 14-bit measurements, so a resynchronisation
    // that looks for bit 0 cannot start a record at one of its later words.
    for (std::size_t i = 0; i < streamed.size(); ++i)
        EXPECT_EQ(streamed[i] & 3, i % 6 == 0 ? 1 : 0) << i;
}

TEST_F(IsaBoardsTest, Pv2MasterBoardCarriesTheSecondUnitBehindAPrefix)
{
    start(pv2Config(kBase));
    client->command({0xF24F, 0x0000}); // unit 2: examine vorn status (a prefix, 3 bytes)
    const auto status = client->answers();
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0] & 0x8000, 0); // not the master
    client->command({0x4F00});
    EXPECT_EQ(client->answers()[0] & 0x8000, 0x8000);
    client->command({0x4F24}); // system status: 14 bytes in 7 words
    const auto units = client->answers();
    ASSERT_EQ(units.size(), 7u);
    EXPECT_EQ(units[0], 0xE1E1);
    EXPECT_EQ(units[1], 0);

    client->command({0x5023, 0x0001}); // group mode on
    client->command({0x4200});
    const auto frame = client->answers();
    ASSERT_EQ(frame.size(), 14u); // two records of 6 words and a tag each
    EXPECT_EQ(frame[6], 0x0100);
    EXPECT_EQ(frame[13], 0x0200);
    EXPECT_EQ(frame[7] & 1, 1);
}

// The boards' units measure with the simulator's physical model and report the model
// string they are configured with, as a PV2 pair does.
TEST_F(IsaBoardsTest, UnitsReportTheirConfiguredSensorAndModel)
{
    IsaConfig config = pv2Config(kBase);
    for (auto& unit : config.units) {
        unit.model = "PELLVORN2";
        unit.sensorModel.trajectory.kind = TrajectoryKind::Still;
        unit.sensorModel.positionNoiseInches = 0.0;
        unit.sensorModel.angleNoiseDegrees = 0.0;
    }
    config.units[0].sensorModel.trajectory.center = {36.0, 18.0, -9.0};
    config.units[1].sensorModel.trajectory.angles = {-90.0, 0.0, 0.0};
    start(config);
    client->command({0x4F0F});
    const auto model = client->answers();
    ASSERT_EQ(model.size(), 5u);
    EXPECT_EQ(model[3], uint16_t('R' << 8 | 'N'));
    EXPECT_EQ(model[4], uint16_t('2' << 8 | ' '));

    const vorn::protocol::RecordShape shape {.dataFormat = 4};
    const auto readingOf = [&](std::vector<uint16_t> words) {
        std::vector<uint8_t> bytes;
        for (uint16_t w : words) {
            bytes.push_back(static_cast<uint8_t>(w >> 8));
            bytes.push_back(static_cast<uint8_t>(w));
        }
        VornReading reading {};
        EXPECT_TRUE(vorn::protocol::decodeIsaRecord(bytes, shape, reading).ok());
        return reading;
    };
    client->command({0x4200});
    const VornReading master = readingOf(client->answers());
    // 36 of 72 inches; ISA words give their lowest bits to the phasing flag.
    EXPECT_NEAR(master.position[0], 32767 / 2, 4);
    EXPECT_NEAR(master.position[1], 32767 / 4, 4);
    EXPECT_NEAR(master.position[2], -32767 / 8, 4);
    client->command({0xF242, 0x0000}); // unit 2: point
    const VornReading second = readingOf(client->answers());
    EXPECT_NEAR(second.angles[0], -32767 / 2, 4);
}

TEST_F(IsaBoardsTest, DataReadyCharacterComesOncePerCycle)
{
    start(isaStandAloneConfig(kBase));
    client->command({0x5008, 0x0001});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto words = client->answers();
    EXPECT_NEAR(words.size(), 10.0, 3.0);
    for (uint16_t w : words)
        EXPECT_EQ(w, 0x002C);
}

// A reader that fell far behind finds the oldest records still waiting; the
// records the full board dropped must not be logged as sent in their place.
TEST_F(IsaBoardsTest, AFullBoardLogsOnlyTheRecordsItQueued)
{
    IsaConfig config = isaStandAloneConfig(kBase);
    config.units[0].softwareRevision = 0x0330; // its rate from the count, which allows 3 kHz
    config.units[0].measurementRate = 3000;
    start(config);
    client->command({0x4000}); // stream
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until)
        client->status(); // the board measures on while nothing is taken
    uint8_t bytes[12];
    for (std::size_t at = 0; at < sizeof bytes; at += 2) {
        const uint16_t word = client->readPort(kBase);
        bytes[at] = static_cast<uint8_t>(word >> 8);
        bytes[at + 1] = static_cast<uint8_t>(word);
    }
    VornReading oldest {};
    ASSERT_TRUE(vorn::protocol::decodeIsaRecord(bytes, {.dataFormat = 4}, oldest).ok());
    EXPECT_TRUE(sentReadings().contains(0, oldest));
}

TEST_F(IsaBoardsTest, ServiceCommitsItsFaults)
{
    start(isaStandAloneConfig(kBase));
    server->setFaults({.stall = std::chrono::milliseconds(200)});
    EXPECT_FALSE(client->access(8, kBase + 2, 0, 100).has_value());
    server->setFaults({});
    PortClient second(server->path());
    EXPECT_EQ(second.status(), 1);
    server->setFaults({.closeOnAccess = true});
    EXPECT_FALSE(second.access(8, kBase + 2, 0).has_value());
}

} // namespace
