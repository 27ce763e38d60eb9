// A stream whose frames were fetched too late fills the line's input queue;
// vornGetMostRecentFrame then starts again from a clean frame boundary.
#include "frame_fixture.h"

#include "platform/clock.h"
#include "protocol/rs232_record.h"
#include "transports/serial_transport.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace vorn {
namespace {

using vorn::testing::installGroup;

class StreamOverflow : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        char name[128] = {};
        termios raw {};
        cfmakeraw(&raw);
        ASSERT_EQ(openpty(&unit_, &slave_, name, &raw, nullptr), 0);
        // The writer must never block, or stopping it could hang.
        fcntl(unit_, F_SETFL, fcntl(unit_, F_GETFL) | O_NONBLOCK);
        setenv("VORN_COM903", name, 1);
    }
    void TearDown() override
    {
        stop_ = true;
        if (writer_.joinable())
            writer_.join();
        FrameTest::TearDown();
        unsetenv("VORN_COM903");
        close(unit_);
        close(slave_);
    }

    // A stand-alone unit streaming angles: 6-byte records, the first byte
    // with the phasing bit. Values count up so frames can be told apart.
    // It sends while `budget_` frames are left (a real line is slow; this
    // one would outrun any reader).
    void startStreaming()
    {
        writer_ = std::thread([this] {
            int16_t value = 0;
            while (!stop_) {
                if (budget_ <= 0) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    continue;
                }
                VornReading reading {};
                reading.angles[0] = static_cast<int16_t>(value += 4);
                uint8_t record[6];
                protocol::encodeRs232Record(reading, {.dataFormat = 2}, record);
                for (std::size_t sent = 0; sent < sizeof record && !stop_;) {
                    const ssize_t n = write(unit_, record + sent, sizeof record - sent);
                    if (n > 0)
                        sent += static_cast<std::size_t>(n);
                    else
                        std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
                --budget_;
            }
        });
    }

    int unit_ = -1;
    int slave_ = -1;
    std::atomic<bool> stop_ {false};
    std::atomic<long> budget_ {1 << 30};
    std::thread writer_;
};

TEST_F(StreamOverflow, FullQueueIsClearedAndRealignedBeforeTheNewestFrame)
{
    VornGroup& group = installGroup(12, ConnectionMode::Rs232, {.streaming = true, .standAlone = true});
    group.readTimeoutMs = 2000;
    group.systemConfig.numberOfUnits = 1;
    group.deviceConfig[0].status = 0x04;
    group.deviceConfig[0].dataFormat = 2;
    group.expectedFrameLength = 6;
    auto serial = std::make_unique<SerialTransport>();
    ASSERT_TRUE(serial->openLine(0, 903, 115200));
    SerialTransport* line = serial.get();
    group.transport = std::move(serial);

    startStreaming();
    // Nobody takes frames: the queue fills up to its limit.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (line->queued(group, 0) < platform::SerialLine::kInputQueueSize && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(line->queued(group, 0), platform::SerialLine::kInputQueueSize);
    budget_ = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    budget_ = 100; // what arrives after the queue is cleared

    VornFrame frame {};
    ASSERT_EQ(vornGetMostRecentFrame(12, &frame), 1) << lastMessage();
    EXPECT_EQ(frame.reading[0].angles[0] % 4, 0); // a whole, aligned record
    EXPECT_NE(frame.reading[0].angles[0], 0);
    EXPECT_LT(line->queued(group, 0), platform::SerialLine::kInputQueueSize);
    // And the stream goes on, frame after frame.
    int16_t previous = frame.reading[0].angles[0];
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(vornGetFrame(12, &frame), 1) << lastMessage();
        EXPECT_EQ(static_cast<int16_t>(frame.reading[0].angles[0] - previous), 4);
        previous = frame.reading[0].angles[0];
    }
}

} // namespace
} // namespace vorn
