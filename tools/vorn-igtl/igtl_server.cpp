#include "igtl_server.h"

#include "client_backlog.h"
#include "server_log.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vornigtl {

namespace {

constexpr std::size_t kReadChunk = 65536;
// A client this many frames behind (what it has not read, in our socket or its own) gets
// no more until it reads: newer frames wait in its queue, where the oldest are dropped.
constexpr std::size_t kFramesBehind = 4;
constexpr std::size_t kLeastBehindBytes = 1024;
// How often a held-back client is looked at again when no frame wakes the thread.
constexpr int kHeldBackCheckMs = 100;
constexpr uint64_t kLoggedMessagesPerClient = 4;

int64_t monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

uint64_t wallClockTimestamp()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return timestampOf(static_cast<uint32_t>(now.tv_sec), static_cast<uint32_t>(now.tv_nsec));
}

std::string peerName(const sockaddr_storage& address)
{
    char host[INET6_ADDRSTRLEN] = "?";
    uint16_t port = 0;
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &v4.sin_addr, host, sizeof host);
        port = ntohs(v4.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &v6.sin6_addr, host, sizeof host);
        port = ntohs(v6.sin6_port);
    }
    return std::string(host) + ":" + std::to_string(port);
}

std::string systemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

struct IgtlServer::Client {
    Client(int descriptor, std::string name, std::size_t queueFrames, uint64_t maxBody)
        : fd(descriptor), peer(std::move(name)), queue(queueFrames), scanner(maxBody)
    {
    }
    ~Client() { ::close(fd); }

    int fd;
    std::string peer;
    FrameQueue queue;             // under the server's mutex
    uint64_t dropped = 0;         // under the server's mutex
    std::vector<uint8_t> sending; // network thread only, like the fields below
    std::size_t sent = 0;
    std::size_t lastSize = 0; // of the last message sent
    ClientBacklog backlog;
    bool heldBack = false;
    IncomingScanner scanner;
    std::vector<MessageHeader> headers;
};

IgtlServer::IgtlServer(ServerSettings settings) : settings_(std::move(settings)) {}

IgtlServer::~IgtlServer()
{
    stop(0);
}

bool IgtlServer::start(std::string& error)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(settings_.port);
    if (inet_pton(AF_INET, settings_.address.c_str(), &address.sin_addr) != 1) {
        error = "'" + settings_.address + "' is not an IPv4 address to listen on";
        return false;
    }
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error = systemError("cannot make a socket");
        return false;
    }
    const int yes = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listenFd_, 16) != 0) {
        error = systemError("cannot listen on " + settings_.address + " port " + std::to_string(settings_.port));
        return false;
    }
    socklen_t length = sizeof address;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    boundPort_ = ntohs(address.sin_port);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        error = systemError("cannot make an event descriptor");
        return false;
    }
    thread_ = std::thread([this] { run(); });
    return true;
}

void IgtlServer::wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
}

void IgtlServer::publish(const uint8_t* bytes, std::size_t size)
{
    {
        const std::lock_guard lock(mutex_);
        for (auto& client : clients_) {
            if (client->queue.push(bytes, size) && client->dropped++ == 0)
                logLine("client " + client->peer + " reads slower than frames arrive: its oldest frames are dropped");
        }
    }
    wake();
}

void IgtlServer::announce(StatusCode code, const std::string& errorName, const std::string& text)
{
    const auto message = encodeStatus(code, "Tracker", errorName, text, wallClockTimestamp());
    {
        const std::lock_guard lock(mutex_);
        for (auto& client : clients_)
            client->queue.push(message.data(), message.size());
        // Late clients learn what happened since streaming last began, failures included.
        if (code == StatusCode::Ok || greeting_.size() > 64 * 1024)
            greeting_.clear();
        greeting_.insert(greeting_.end(), message.begin(), message.end());
    }
    if (wakeFd_ >= 0)
        wake();
}

void IgtlServer::stop(int flushMs)
{
    if (!thread_.joinable()) {
        if (listenFd_ >= 0)
            ::close(listenFd_);
        if (wakeFd_ >= 0)
            ::close(wakeFd_);
        listenFd_ = wakeFd_ = -1;
        return;
    }
    stopDeadlineMs_ = monotonicMs() + flushMs;
    stopImmediately_ = flushMs == 0;
    stopping_ = true;
    wake();
    thread_.join();
    {
        const std::lock_guard lock(mutex_);
        clients_.clear();
    }
    stop(0);
}

std::size_t IgtlServer::clientCount() const
{
    const std::lock_guard lock(mutex_);
    return clients_.size();
}

bool IgtlServer::hasPending(const Client& client) const
{
    return client.sent < client.sending.size() || (!client.queue.empty() && !client.heldBack);
}

bool IgtlServer::isBehind(Client& client)
{
    const auto unread = client.backlog.unread(client.fd);
    return unread && *unread > std::max(kFramesBehind * client.lastSize, kLeastBehindBytes);
}

void IgtlServer::acceptClients()
{
    while (true) {
        sockaddr_storage address {};
        socklen_t length = sizeof address;
        const int fd =
            ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return; // EAGAIN, or a connection that vanished before it was taken
        const std::string peer = peerName(address);
        const std::lock_guard lock(mutex_);
        if (clients_.size() >= settings_.maxClients) {
            refuse(fd, "the tracker server already serves " + std::to_string(clients_.size()) +
                           " clients, its limit (--max-clients); try again when one has left");
            logLine("refused client " + peer + ": already " + std::to_string(clients_.size()) + " clients");
            continue;
        }
        const int yes = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        // The kernel takes a new frame only once it has sent the last one: a client that stops
        // reading leaves at most one frame waiting here, and the newest ones wait in its queue.
        setsockopt(fd, IPPROTO_TCP, TCP_NOTSENT_LOWAT, &yes, sizeof yes);
        watchPeerWindow(fd);
        auto client = std::make_unique<Client>(fd, peer, settings_.queueFrames, settings_.maxBodySize);
        if (!greeting_.empty())
            client->queue.push(greeting_.data(), greeting_.size());
        clients_.push_back(std::move(client));
        logLine("client " + peer + " connected (" + std::to_string(clients_.size()) + " now)");
    }
}

void IgtlServer::refuse(int fd, const std::string& why) const
{
    const auto status = encodeStatus(StatusCode::AccessDenied, "Tracker", "TooManyClients", why, wallClockTimestamp());
    [[maybe_unused]] const auto put = ::send(fd, status.data(), status.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    // Take what the client sent first: closing with unread bytes would reset the connection
    // and could throw the STATUS away before the client reads it.
    uint8_t ignored[kHeaderSize];
    while (::recv(fd, ignored, sizeof ignored, MSG_DONTWAIT) > 0) {
    }
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

bool IgtlServer::receiveFrom(Client& client)
{
    uint8_t buffer[kReadChunk];
    const ssize_t got = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0)
        return false;
    if (got < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    client.headers.clear();
    const auto verdict = client.scanner.feed(buffer, static_cast<std::size_t>(got), client.headers);
    const uint64_t first = client.scanner.messages() - client.headers.size();
    for (std::size_t i = 0; i < client.headers.size() && first + i < kLoggedMessagesPerClient; ++i)
        logLine("client " + client.peer + " sent " + client.headers[i].type + " (header version " +
                std::to_string(client.headers[i].version) + ", " + std::to_string(client.headers[i].bodySize) +
                " body bytes); ignored");
    if (verdict == IncomingScanner::Verdict::Garbage) {
        logLine("client " + client.peer + " sends something that is not OpenIGTLink");
        return false;
    }
    if (verdict == IncomingScanner::Verdict::Oversized) {
        logLine("client " + client.peer + " announced a message larger than " + std::to_string(settings_.maxBodySize) +
                " bytes");
        return false;
    }
    return true;
}

bool IgtlServer::sendTo(Client& client)
{
    while (true) {
        if (client.sent == client.sending.size()) {
            client.lastSize = client.sending.empty() ? client.lastSize : client.sending.size();
            client.sent = 0;
            client.sending.clear();
            client.heldBack = isBehind(client);
            if (client.heldBack)
                return true;
            const std::lock_guard lock(mutex_);
            if (!client.queue.pop(client.sending))
                return true;
        }
        const ssize_t put = ::send(client.fd, client.sending.data() + client.sent, client.sending.size() - client.sent,
                                   MSG_DONTWAIT | MSG_NOSIGNAL);
        if (put < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        client.sent += static_cast<std::size_t>(put);
    }
}

void IgtlServer::dropClient(std::size_t index, const std::string& why)
{
    const std::lock_guard lock(mutex_);
    const auto& client = *clients_[index];
    std::string text = "client " + client.peer + " " + why;
    if (client.dropped > 0)
        text += "; " + std::to_string(client.dropped) + " frame(s) were dropped for it";
    clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(index));
    logLine(text + " (" + std::to_string(clients_.size()) + " left)");
}

void IgtlServer::run()
{
    std::vector<pollfd> fds;
    std::vector<Client*> polled;
    while (true) {
        fds.clear();
        polled.clear();
        fds.push_back({wakeFd_, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        bool anyPending = false;
        bool anyHeldBack = false;
        {
            const std::lock_guard lock(mutex_);
            for (auto& client : clients_) {
                if (client->heldBack)
                    client->heldBack = isBehind(*client);
                anyHeldBack |= client->heldBack;
                const bool pending = hasPending(*client);
                anyPending |= pending;
                fds.push_back({client->fd, static_cast<short>(POLLIN | (pending ? POLLOUT : 0)), 0});
                polled.push_back(client.get());
            }
        }
        // A stopping server stays until its deadline, so that clients connecting meanwhile
        // still learn why it stops; without a deadline it leaves once everything is sent.
        const int64_t now = monotonicMs();
        if (stopping_ && (now >= stopDeadlineMs_ || (!anyPending && stopImmediately_)))
            return;
        int timeout = stopping_ ? static_cast<int>(stopDeadlineMs_ - now) : -1;
        if (anyHeldBack && (timeout < 0 || timeout > kHeldBackCheckMs))
            timeout = kHeldBackCheckMs;
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
            logError(systemError("poll failed"));
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const auto got = ::read(wakeFd_, &count, sizeof count);
        }
        // Clients from index 2 on; walk backwards so that dropping one keeps the others' indices.
        for (std::size_t i = polled.size(); i-- > 0;) {
            Client& client = *polled[i];
            const short events = fds[i + 2].revents;
            std::string why;
            if ((events & POLLIN) && !receiveFrom(client))
                why = "disconnected";
            else if ((events & (POLLOUT | POLLERR | POLLHUP)) && !sendTo(client))
                why = "disconnected while receiving";
            if (!why.empty())
                dropClient(i, why);
        }
        if (fds[1].revents & POLLIN)
            acceptClients();
    }
}

} // namespace vornigtl
