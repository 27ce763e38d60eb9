#include "platform/stream_socket.h"

#include "platform/clock.h"
#include "platform/pump_wait.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vorn::platform {

namespace {

bool resolve(const std::string& address, uint16_t port, sockaddr_in& out)
{
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1)
        return true;
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

IoResult waitResult(WaitResult result)
{
    switch (result) {
    case WaitResult::Ready: return IoResult::Ok;
    case WaitResult::TimedOut: return IoResult::TimedOut;
    case WaitResult::Quit: return IoResult::Quit;
    }
    return IoResult::Failed;
}

} // namespace

StreamSocket::~StreamSocket()
{
    close();
}

bool StreamSocket::create()
{
    close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return false;
    // Requests are small and answered one by one: send each at once.
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return true;
}

IoResult StreamSocket::connect(const std::string& address, uint16_t port, uint32_t timeoutMs)
{
    sockaddr_in peer {};
    if (fd_ < 0 || !resolve(address, port, peer))
        return IoResult::Failed;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return IoResult::Ok;
    if (errno != EINPROGRESS)
        return IoResult::Failed;
    const IoResult waited = waitResult(PumpWait::untilWritable(fd_, nowMs() + timeoutMs));
    if (waited != IoResult::Ok)
        return waited;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
        return IoResult::Failed;
    return IoResult::Ok;
}

void StreamSocket::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

IoResult StreamSocket::sendAll(std::span<const uint8_t> bytes, uint64_t deadlineMs)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (fd_ < 0)
            return IoResult::Failed;
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return IoResult::Failed;
        const IoResult waited = waitResult(PumpWait::untilWritable(fd_, deadlineMs));
        if (waited != IoResult::Ok)
            return waited;
    }
    return IoResult::Ok;
}

IoResult StreamSocket::receiveExactly(std::span<uint8_t> bytes, uint64_t deadlineMs)
{
    std::size_t received = 0;
    while (received < bytes.size()) {
        if (fd_ < 0)
            return IoResult::Failed;
        const ssize_t n = ::recv(fd_, bytes.data() + received, bytes.size() - received, 0);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0)
            return IoResult::Failed; // the controller closed the connection
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return IoResult::Failed;
        const IoResult waited = waitResult(PumpWait::untilReadable(fd_, deadlineMs));
        if (waited != IoResult::Ok)
            return waited;
    }
    return IoResult::Ok;
}

bool StreamSocket::bytesWaiting(std::size_t& count) const
{
    int waiting = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0)
        return false;
    count = static_cast<std::size_t>(waiting);
    return true;
}

long StreamSocket::readAvailable(std::span<uint8_t> bytes)
{
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::recv(fd_, bytes.data(), bytes.size(), 0);
        if (n > 0)
            return static_cast<long>(n);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return 0;
        return -1;
    }
}

} // namespace vorn::platform
