#include "platform/serial_line.h"

#include "platform/serial_baud.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vorn::platform {

namespace {

struct StandardRate {
    uint32_t rate;
    speed_t code;
};

constexpr StandardRate kStandardRates[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},   {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool standardRateCode(uint32_t rate, speed_t& code)
{
    for (const auto& entry : kStandardRates) {
        if (entry.rate == rate) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

std::string describeErrno(const std::string& what, const std::string& path)
{
    std::string text = what + " " + path + ": " + std::strerror(errno);
    if (errno == EACCES || errno == EPERM)
        text += " (add your user to the 'dialout' group, then log in again)";
    return text;
}

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

SerialLine::~SerialLine()
{
    close();
}

std::string SerialLine::pathForPort(unsigned portNumber)
{
    const std::string variable = "VORN_COM" + std::to_string(portNumber);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0')
        return path;
    return "/dev/ttyS" + std::to_string(portNumber == 0 ? 0 : portNumber - 1);
}

bool SerialLine::fail(const std::string& what)
{
    error_ = what;
    return false;
}

bool SerialLine::open(const std::string& path)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(describeErrno("cannot open", path));
    // Two programs must not fight over one line.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return fail(path + " is in use by another program");
    }
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
        const std::string text = describeErrno("cannot lock", path);
        ::close(fd);
        return fail(text);
    }
    fd_ = fd;
    head_ = count_ = 0;
    error_.clear();
    return true;
}

bool SerialLine::configure(uint32_t baudRate)
{
    termios settings {};
    if (tcgetattr(fd_, &settings) != 0)
        return fail(std::string("cannot read line settings: ") + std::strerror(errno));
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    speed_t code = B9600;
    const bool standard = standardRateCode(baudRate, code);
    if (standard)
        cfsetspeed(&settings, code);
    if (tcsetattr(fd_, TCSANOW, &settings) != 0)
        return fail(std::string("cannot write line settings: ") + std::strerror(errno));
    if (!standard && !setCustomBaudRate(fd_, baudRate))
        return fail("cannot set baud rate " + std::to_string(baudRate));
    return true;
}

void SerialLine::close()
{
    if (fd_ >= 0) {
        ::close(fd_); // also drops the flock
        fd_ = -1;
    }
    head_ = count_ = 0;
}

bool SerialLine::fill()
{
    if (fd_ < 0)
        return false;
    while (count_ < kInputQueueSize) {
        // Read into the contiguous free part of the ring.
        const std::size_t tail = (head_ + count_) % kInputQueueSize;
        const std::size_t room = std::min(kInputQueueSize - count_, kInputQueueSize - tail);
        const ssize_t got = ::read(fd_, queue_ + tail, room);
        if (got > 0) {
            count_ += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        // 0 from a tty in non-blocking raw mode means no data, except when
        // the other end has hung up; poll tells the two apart.
        if (got == 0) {
            pollfd p {fd_, POLLIN, 0};
            return !(::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP));
        }
        return false; // EIO: the other end of a pseudo-terminal closed
    }
    return true;
}

bool SerialLine::take(uint8_t* out, std::size_t n)
{
    if (n > count_)
        return false;
    if (n == 0)
        return true; // `out` may be null then (an empty buffer's data())
    const std::size_t first = std::min(n, kInputQueueSize - head_);
    std::memcpy(out, queue_ + head_, first);
    std::memcpy(out + first, queue_, n - first);
    head_ = (head_ + n) % kInputQueueSize;
    count_ -= n;
    return true;
}

std::optional<uint8_t> SerialLine::peek() const
{
    if (count_ == 0)
        return std::nullopt;
    return queue_[head_];
}

void SerialLine::purgeInput()
{
    if (fd_ >= 0)
        tcflush(fd_, TCIFLUSH);
    head_ = count_ = 0;
}

std::size_t SerialLine::write(const uint8_t* bytes, std::size_t n, uint32_t timeoutMs)
{
    if (fd_ < 0)
        return 0;
    std::size_t written = 0;
    const int64_t deadline = nowMs() + timeoutMs;
    while (written < n) {
        const ssize_t put = ::write(fd_, bytes + written, n - written);
        if (put > 0) {
            written += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            break;
        const int64_t left = deadline - nowMs();
        if (left <= 0)
            break;
        pollfd p {fd_, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0 || (p.revents & (POLLERR | POLLHUP)))
            break;
    }
    return written;
}

bool SerialLine::setRts(bool asserted)
{
    if (fd_ < 0)
        return false;
    int bits = TIOCM_RTS;
    if (ioctl(fd_, asserted ? TIOCMBIS : TIOCMBIC, &bits) == 0)
        return true;
    return errno == ENOTTY || errno == EINVAL;
}

} // namespace vorn::platform
