#include "rs232/pseudo_terminal.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace vorn::sim {

namespace {

struct BaudEntry {
    speed_t code;
    unsigned rate;
};

constexpr std::array kBaudRates = {
    BaudEntry {B300, 300},       BaudEntry {B1200, 1200},     BaudEntry {B2400, 2400},     BaudEntry {B4800, 4800},
    BaudEntry {B9600, 9600},     BaudEntry {B19200, 19200},   BaudEntry {B38400, 38400},   BaudEntry {B57600, 57600},
    BaudEntry {B115200, 115200}, BaudEntry {B230400, 230400}, BaudEntry {B460800, 460800}, BaudEntry {B921600, 921600},
};

constexpr unsigned kDefaultBaud = 9600;

[[noreturn]] void fail(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

PseudoTerminal::PseudoTerminal(std::filesystem::path link) : link_(std::move(link))
{
    create();
}

PseudoTerminal::~PseudoTerminal()
{
    close();
    // Only the link we made: one that now points elsewhere belongs to someone else.
    std::error_code error;
    if (std::filesystem::read_symlink(link_, error) == slavePath_ && !error)
        std::filesystem::remove(link_, error);
}

void PseudoTerminal::create()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        fail("cannot create a pseudo-terminal");
    }
    std::array<char, 128> name {};
    if (ptsname_r(master_, name.data(), name.size()) != 0) {
        fail("cannot name the pseudo-terminal");
    }
    slavePath_ = name.data();
    // Raw 8N1 from the start, so a program that sets nothing still gets bytes unchanged.
    // Closing our slave descriptor leaves the line "closed" until the other side opens it.
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        fail("cannot open " + slavePath_);
    }
    termios settings {};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    tcsetattr(slave, TCSANOW, &settings);
    ::close(slave);

    // Replace the link atomically so a reader never finds it missing.
    const auto temporary = link_.string() + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link_.c_str()) != 0) {
        fail("cannot link " + link_.string());
    }
}

void PseudoTerminal::close()
{
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

void PseudoTerminal::reopen()
{
    close();
    create();
}

unsigned PseudoTerminal::baudRate() const
{
    termios settings {};
    if (master_ < 0 || tcgetattr(master_, &settings) != 0) {
        return kDefaultBaud;
    }
    const speed_t speed = cfgetospeed(&settings);
    for (const auto& entry : kBaudRates) {
        if (entry.code == speed) {
            return entry.rate;
        }
    }
    return kDefaultBaud;
}

bool PseudoTerminal::peerOpen() const
{
    if (master_ < 0) {
        return false;
    }
    pollfd p {master_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) {
        return false;
    }
    return (p.revents & POLLHUP) == 0;
}

} // namespace vorn::sim
