// The serial transport against a real pseudo-terminal, with the test playing
// the unit on the other side. The library clock runs 100 times faster than
// real time, so the reset's 4.5 s of waits pass in a blink.
#include "frame_fixture.h"

#include "platform/clock.h"
#include "transports/serial_transport.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace vorn {
namespace {

uint64_t fastClock()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count() / 10);
}

// The unit's side of a line: the master end of a pseudo-terminal, published
// as COM<port> for the library.
class FakeUnitLine {
public:
    explicit FakeUnitLine(unsigned port) : variable_("VORN_COM" + std::to_string(port))
    {
        char name[128] = {};
        termios raw {};
        cfmakeraw(&raw);
        EXPECT_EQ(openpty(&master_, &slave_, name, &raw, nullptr), 0);
        setenv(variable_.c_str(), name, 1);
    }
    ~FakeUnitLine()
    {
        unsetenv(variable_.c_str());
        if (master_ >= 0)
            close(master_);
        close(slave_);
    }
    // The unit's end goes away, as when a cable is pulled.
    void hangUp()
    {
        close(master_);
        master_ = -1;
    }
    void send(const std::vector<uint8_t>& bytes)
    {
        EXPECT_EQ(write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // What the library wrote, waiting briefly for it.
    std::vector<uint8_t> received(std::size_t count)
    {
        std::vector<uint8_t> bytes(count);
        std::size_t got = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (got < count && std::chrono::steady_clock::now() < until) {
            const ssize_t n = read(master_, bytes.data() + got, count - got);
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

private:
    std::string variable_;
    int master_ = -1;
    int slave_ = -1;
};

class SerialTransportTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        platform::setClockForTesting(&fastClock);
        group.mode = ConnectionMode::Rs232;
        group.readTimeoutMs = 2000; // 20 ms of real time
        group.writeTimeoutMs = 2000;
        group.systemConfig.numberOfUnits = 3;
        auto owned = std::make_unique<SerialTransport>();
        serial = owned.get();
        group.transport = std::move(owned);
        ASSERT_TRUE(serial->openLine(1, 901, 115200));
        messages.clear();
    }
    void TearDown() override
    {
        closeTransport(group);
        platform::setClockForTesting(nullptr);
        FrameTest::TearDown();
    }

    FakeUnitLine master {901};
    VornGroup group {1};
    SerialTransport* serial = nullptr;
};

TEST_F(SerialTransportTest, UnitsWithoutALineAreReachedThroughTheMasterWithAPrefix)
{
    struct Case {
        int addressingMode;
        int unit;
        std::vector<uint8_t> wire;
    };
    const Case cases[] = {
        {0, 1, {0x42}}, // the master's own line: no prefix
        {0, 3, {0xF3, 0x42}},  {0, 15, {0xFF, 0x42}},      {1, 20, {0xE4, 0x42}},        {0, 20, {0xE4, 0x42}},
        {1, 30, {0xEE, 0x42}}, {2, 3, {0xA0, 0x03, 0x42}}, {2, 126, {0xA0, 0x7E, 0x42}},
    };
    const uint8_t point = 0x42;
    for (const Case& c : cases) {
        group.addressingMode = c.addressingMode;
        ASSERT_TRUE(serial->send(group, c.unit, std::span(&point, 1))) << c.unit;
        EXPECT_EQ(master.received(c.wire.size()), c.wire) << c.unit;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SerialTransportTest, RefusesWhatThePrefixCannotCarry)
{
    const std::vector<uint8_t> longest(63, 0x4F), tooLong(64, 0x4F);
    group.addressingMode = 0;
    EXPECT_TRUE(serial->send(group, 2, longest));
    EXPECT_EQ(master.received(64).size(), 64u);
    EXPECT_FALSE(serial->send(group, 2, tooLong));
    EXPECT_EQ(lastMessage(), "Unable to send 64 bytes to vorn #2 through the master vorn: at most 63 bytes fit with "
                             "the address prefix.");
    group.addressingMode = 2;
    EXPECT_FALSE(serial->send(group, 2, longest));
    EXPECT_EQ(lastMessage(), "Unable to send 63 bytes to vorn #2 through the master vorn: at most 62 bytes fit with "
                             "the address prefix.");
    // A one-byte prefix for unit 31 would name another unit.
    group.addressingMode = 1;
    EXPECT_FALSE(serial->send(group, 31, longest));
    EXPECT_EQ(lastMessage(), "Unable to address vorn #31 through the master vorn in addressing mode 1.");
    // Refusals send nothing: the next command is the first thing on the wire.
    const uint8_t point = 0x42;
    EXPECT_TRUE(serial->send(group, 1, std::span(&point, 1)));
    EXPECT_EQ(master.received(1), std::vector<uint8_t> {0x42});
}

TEST_F(SerialTransportTest, ResponseIsTakenWholeOrNotAtAll)
{
    uint8_t answer[4] = {};
    EXPECT_TRUE(serial->getResponse(group, 1, std::span(answer, 0)));
    master.send({1, 2, 3});
    EXPECT_FALSE(serial->getResponse(group, 1, answer));
    EXPECT_EQ(lastMessage(), "Unable to read 4 bytes from vorn #1.");
    EXPECT_EQ(serial->queued(group, 1), 3u); // the partial answer stays queued
    master.send({4});
    ASSERT_TRUE(serial->getResponse(group, 3, answer)); // unit 3 answers on the master's line
    EXPECT_EQ(answer[0], 1);
    EXPECT_EQ(answer[3], 4);
}

TEST_F(SerialTransportTest, ClearBufferNeedsALineOfTheUnitsOwn)
{
    master.send({9, 9});
    EXPECT_EQ(serial->queued(group, 1) > 0, true);
    EXPECT_TRUE(serial->clearBuffer(group, 1));
    EXPECT_EQ(serial->queued(group, 1), 0u);
    EXPECT_FALSE(serial->clearBuffer(group, 2));
    EXPECT_EQ(lastMessage(),
              "Unable to clear RS232 receive buffer for vorn #2:  No comport is associated with this device.");
}

TEST_F(SerialTransportTest, ResetPulsesRtsThenWaitsFourSeconds)
{
    const uint64_t start = platform::nowMs();
    const auto realStart = std::chrono::steady_clock::now();
    EXPECT_TRUE(serial->reset(group));
    EXPECT_GE(platform::nowMs() - start, 4500u);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(1));
}

TEST_F(SerialTransportTest, HungUpLineFailsAtOnceInsteadOfWaiting)
{
    group.readTimeoutMs = 60000; // ten real minutes if the read waited it out
    master.hangUp();
    uint8_t answer[2];
    const auto realStart = std::chrono::steady_clock::now();
    EXPECT_FALSE(serial->getResponse(group, 1, answer));
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(2));
    EXPECT_EQ(lastMessage(), "Unable to read 2 bytes from vorn #1.");
}

} // namespace
} // namespace vorn
