#include "pty_client.h"

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace vorn::sim::test {

namespace {

speed_t speedOf(unsigned baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    default: return B115200;
    }
}

} // namespace

PtyClient::PtyClient(const std::filesystem::path& path, unsigned baud)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        throw std::runtime_error("cannot open " + path.string());
    }
    termios settings {};
    tcgetattr(fd_, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, speedOf(baud));
    tcsetattr(fd_, TCSANOW, &settings);
    // The simulator notices the open within a few milliseconds and resets the unit;
    // commands sent before that would be lost in the reset.
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
}

PtyClient::~PtyClient()
{
    close();
}

void PtyClient::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void PtyClient::send(const std::vector<uint8_t>& bytes)
{
    if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("short write to the simulator");
    }
}

std::vector<uint8_t> PtyClient::read(std::size_t count, std::chrono::milliseconds timeout)
{
    std::vector<uint8_t> out;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (out.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p {fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        uint8_t buffer[4096];
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - out.size()));
        if (n <= 0) {
            break;
        }
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

std::vector<uint8_t> PtyClient::readFor(std::chrono::milliseconds duration)
{
    std::vector<uint8_t> out;
    const auto deadline = std::chrono::steady_clock::now() + duration;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return out;
        }
        pollfd p {fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        uint8_t buffer[4096];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            return out;
        }
        out.insert(out.end(), buffer, buffer + n);
    }
}

std::vector<uint8_t> PtyClient::ask(const std::vector<uint8_t>& bytes, std::size_t count,
                                    std::chrono::milliseconds timeout)
{
    send(bytes);
    return read(count, timeout);
}

} // namespace vorn::sim::test
