#include "test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace igtltest {

TestClient::TestClient(uint16_t port, int receiveBuffer)
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (receiveBuffer > 0)
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        close();
}

TestClient::~TestClient()
{
    close();
}

void TestClient::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool TestClient::send(const std::vector<uint8_t>& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put <= 0)
            return false;
        sent += static_cast<std::size_t>(put);
    }
    return true;
}

std::vector<Message> TestClient::receiveUntil(const std::function<bool(const Message&)>& done,
                                              std::chrono::milliseconds limit)
{
    std::vector<Message> messages;
    const auto until = std::chrono::steady_clock::now() + limit;
    while (true) {
        while (auto message = takeMessage(stream_)) {
            messages.push_back(*message);
            if (done(messages.back()))
                return messages;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0 || fd_ < 0)
            return messages;
        pollfd pfd {fd_, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        uint8_t buffer[65536];
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0)
            return messages;
        stream_.insert(stream_.end(), buffer, buffer + got);
    }
}

std::vector<Message> TestClient::receiveCount(std::size_t count, std::chrono::milliseconds limit)
{
    std::size_t seen = 0;
    return receiveUntil([&](const Message&) { return ++seen >= count; }, limit);
}

bool TestClient::closedByServer(std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        pollfd pfd {fd_, POLLIN, 0};
        if (::poll(&pfd, 1, 50) <= 0)
            continue;
        uint8_t buffer[65536];
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0)
            return true;
    }
    return false;
}

} // namespace igtltest
