#include "line_tap.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace {

speed_t speedCode(unsigned baudRate)
{
    switch (baudRate) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 230400: return B230400;
    case 460800: return B460800;
    default: return B115200;
    }
}

} // namespace

LineTap::LineTap(const std::string& unitPath, unsigned baudRate)
{
    unit_ = ::open(unitPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    termios raw {};
    cfmakeraw(&raw);
    if (unit_ < 0 || openpty(&master_, &slave_, name, &raw, nullptr) != 0 || pipe2(stopPipe_, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot set up the line tap");
    termios unitSettings {};
    tcgetattr(unit_, &unitSettings);
    cfmakeraw(&unitSettings);
    cfsetspeed(&unitSettings, speedCode(baudRate));
    tcsetattr(unit_, TCSANOW, &unitSettings);
    slavePath_ = name;
    writes_.reserve(1 << 20);
    thread_ = std::thread([this] { run(); });
}

LineTap::~LineTap()
{
    const char stop = 1;
    (void)::write(stopPipe_[1], &stop, 1);
    thread_.join();
    for (int fd : {unit_, master_, slave_, stopPipe_[0], stopPipe_[1]})
        if (fd >= 0)
            ::close(fd);
}

uint64_t LineTap::forwarded() const
{
    std::lock_guard lock(mutex_);
    return total_;
}

LineTap::Clock::time_point LineTap::writtenAt(uint64_t index) const
{
    std::lock_guard lock(mutex_);
    const auto it =
        std::upper_bound(writes_.begin(), writes_.end(), index, [](uint64_t i, const Write& w) { return i < w.end; });
    return it == writes_.end() ? Clock::time_point::max() : it->time;
}

void LineTap::run()
{
    uint8_t buffer[4096];
    for (;;) {
        pollfd fds[3] = {{unit_, POLLIN, 0}, {master_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(fds, 3, -1) <= 0)
            continue;
        if (fds[2].revents != 0)
            return;
        if (fds[0].revents & POLLIN) { // the unit speaks: on to the library, noting the time
            const ssize_t n = ::read(unit_, buffer, sizeof buffer);
            if (n > 0 && ::write(master_, buffer, static_cast<std::size_t>(n)) == n) {
                const auto now = Clock::now();
                std::lock_guard lock(mutex_);
                total_ += static_cast<uint64_t>(n);
                writes_.push_back({total_, now});
            }
        }
        if (fds[1].revents & POLLIN) { // the library's commands go to the unit
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                (void)!::write(unit_, buffer, static_cast<std::size_t>(n));
        }
    }
}
