// SerialLine against a real pseudo-terminal: the far end plays the unit.
#include "platform/serial_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using vorn::platform::SerialLine;

namespace {

class PseudoTerminal {
public:
    PseudoTerminal()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(master_);
        unlockpt(master_);
        path_ = ptsname(master_);
        // Raw on the unit side too, so bytes pass unchanged both ways.
        termios settings {};
        tcgetattr(master_, &settings);
        cfmakeraw(&settings);
        tcsetattr(master_, TCSANOW, &settings);
    }
    ~PseudoTerminal() { closeMaster(); }
    const std::string& path() const { return path_; }
    void send(const std::vector<uint8_t>& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<uint8_t> receive(std::size_t n) const
    {
        std::vector<uint8_t> bytes;
        while (bytes.size() < n) {
            pollfd p {master_, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0)
                break;
            uint8_t buffer[256];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0)
                break;
            bytes.insert(bytes.end(), buffer, buffer + got);
        }
        return bytes;
    }
    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string path_;
};

// Fills until n bytes are queued or a second has passed.
bool fillUntil(SerialLine& line, std::size_t n)
{
    for (int i = 0; i < 100 && line.queued() < n; ++i) {
        pollfd p {line.fd(), POLLIN, 0};
        poll(&p, 1, 10);
        if (!line.fill())
            return false;
    }
    return line.queued() >= n;
}

} // namespace

TEST(SerialLinePath, ComPortNumbersFollowEnvironmentOrTtyS)
{
    unsetenv("VORN_COM7");
    EXPECT_EQ(SerialLine::pathForPort(7), "/dev/ttyS6");
    setenv("VORN_COM7", "/tmp/somewhere", 1);
    EXPECT_EQ(SerialLine::pathForPort(7), "/tmp/somewhere");
    unsetenv("VORN_COM7");
}

TEST(SerialLineOpen, MissingDeviceFailsWithReason)
{
    SerialLine line;
    EXPECT_FALSE(line.open("/dev/does-not-exist-vorn"));
    EXPECT_NE(line.errorText().find("No such file"), std::string::npos);
}

TEST(SerialLineOpen, SecondOpenOfTheSameLineIsRefused)
{
    PseudoTerminal pty;
    SerialLine first, second;
    ASSERT_TRUE(first.open(pty.path()));
    EXPECT_FALSE(second.open(pty.path()));
    first.close();
    EXPECT_TRUE(second.open(pty.path()));
}

TEST(SerialLineIo, BytesPassUnchangedBothWaysAtStandardAndOddRates)
{
    for (uint32_t rate : {9600u, 115200u, 250000u}) {
        PseudoTerminal pty;
        SerialLine line;
        ASSERT_TRUE(line.open(pty.path()));
        ASSERT_TRUE(line.configure(rate)) << line.errorText();
        const std::vector<uint8_t> command = {0x4F, 0x0A, 0x00, 0xFF, 0x0D, 0x11, 0x13};
        ASSERT_EQ(line.write(command.data(), command.size(), 1000), command.size());
        EXPECT_EQ(pty.receive(command.size()), command);

        pty.send({0x81, 0x40, 0x0D, 0x0A, 0x00});
        ASSERT_TRUE(fillUntil(line, 5));
        uint8_t answer[5];
        ASSERT_TRUE(line.take(answer, 5));
        EXPECT_EQ(std::vector<uint8_t>(answer, answer + 5), (std::vector<uint8_t> {0x81, 0x40, 0x0D, 0x0A, 0x00}));
    }
}

TEST(SerialLineQueue, TakeNeverConsumesAPartialResponse)
{
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    ASSERT_TRUE(line.configure(9600));
    pty.send({1, 2, 3});
    ASSERT_TRUE(fillUntil(line, 3));
    uint8_t out[4] = {};
    EXPECT_FALSE(line.take(out, 4));
    EXPECT_EQ(line.queued(), 3u);
    line.purgeInput();
    EXPECT_EQ(line.queued(), 0u);
}

TEST(SerialLineQueue, HoldsFarMoreThanTheKernelBufferAndWrapsAround)
{
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    ASSERT_TRUE(line.configure(115200));
    // 20000 bytes in chunks, taking some out between, so the ring wraps.
    std::vector<uint8_t> all;
    uint8_t value = 0;
    std::size_t taken = 0;
    for (int chunk = 0; chunk < 10; ++chunk) {
        std::vector<uint8_t> bytes(2000);
        for (auto& b : bytes)
            b = value++;
        pty.send(bytes);
        all.insert(all.end(), bytes.begin(), bytes.end());
        ASSERT_TRUE(fillUntil(line, all.size() - taken));
        if (chunk % 3 == 2) {
            std::vector<uint8_t> out(1500);
            ASSERT_TRUE(line.take(out.data(), out.size()));
            EXPECT_TRUE(std::equal(out.begin(), out.end(), all.begin() + taken));
            taken += out.size();
        }
    }
    EXPECT_EQ(line.queued(), all.size() - taken);
    std::vector<uint8_t> rest(line.queued());
    ASSERT_TRUE(line.take(rest.data(), rest.size()));
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), all.begin() + taken));
}

TEST(SerialLineQueue, FullQueueStopsFillingWithoutLosingBytes)
{
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    ASSERT_TRUE(line.configure(115200));
    std::vector<uint8_t> bytes(3000, 0x55);
    for (std::size_t sent = 0; sent < SerialLine::kInputQueueSize + 1000; sent += bytes.size()) {
        pty.send(bytes);
        fillUntil(line, std::min(sent + bytes.size(), SerialLine::kInputQueueSize));
    }
    EXPECT_EQ(line.queued(), SerialLine::kInputQueueSize);
}

TEST(SerialLineRts, PseudoTerminalWithoutModemLinesCountsAsSuccess)
{
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    EXPECT_TRUE(line.setRts(true));
    EXPECT_TRUE(line.setRts(false));
}

TEST(SerialLineHangUp, FillReportsTheOtherEndGone)
{
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.open(pty.path()));
    ASSERT_TRUE(line.configure(9600));
    pty.closeMaster();
    EXPECT_FALSE(line.fill());
    const uint8_t byte = 0x42;
    EXPECT_EQ(line.write(&byte, 1, 100), 0u);
}
