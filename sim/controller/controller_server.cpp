#include "controller/controller_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vorn::sim {

namespace {

using Clock = std::chrono::steady_clock;

// Stream packets beyond this much unsent data are dropped, as a controller
// with a full send queue would: the reader is not keeping up.
constexpr std::size_t kMaxQueuedBytes = 4 << 20;
// A request longer than this is not read; the connection is closed.
constexpr std::size_t kMaxRequestData = 4096;

struct Timed {
    Clock::time_point due;
    std::vector<uint8_t> bytes;
};

// A listening socket on 127.0.0.1 at `port`, or at one the kernel picks for 0.
// The address is reused so that a controller coming back gets its port again
// while connections of its earlier life linger in TIME_WAIT.
int openListener(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        const std::string reason = std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("controller cannot listen: " + reason);
    }
    return fd;
}

uint16_t boundPort(int fd)
{
    sockaddr_in address {};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error(std::string("controller cannot listen: ") + std::strerror(errno));
    return ntohs(address.sin_port);
}

} // namespace

struct ControllerServer::Connection {
    int fd = -1;
    std::size_t index = 0; // in the order of acceptance

    std::vector<uint8_t> input;
    std::vector<uint8_t> output;
    std::deque<Timed> delayed; // answers held back by a stall
    bool streaming = false;
    Clock::time_point nextReport {};
    bool closing = false;

    ~Connection()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

ControllerServer::ControllerServer(ControllerConfig config, Log log) : state_(std::move(config)), log_(std::move(log))
{
}

ControllerServer::~ControllerServer()
{
    stop();
}

void ControllerServer::start()
{
    port_ = 0;
    launch();
}

void ControllerServer::launch()
{
    listenFd_ = openListener(port_);
    try {
        port_ = boundPort(listenFd_);
    } catch (...) {
        ::close(std::exchange(listenFd_, -1));
        throw;
    }
    hangUpRequested_ = false;
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
}

void ControllerServer::reopenListener()
{
    if (thread_.joinable())
        askListener(ListenerRequest::Reopen);
    else
        launch();
}

void ControllerServer::askListener(ListenerRequest request)
{
    std::unique_lock lock(listenerMutex_);
    listenerRequest_ = request;
    wake();
    listenerChanged_.wait(lock, [this] { return listenerRequest_ == ListenerRequest::None; });
    if (!listenerError_.empty())
        throw std::runtime_error(std::exchange(listenerError_, {}));
}

void ControllerServer::applyListenerRequest()
{
    std::lock_guard lock(listenerMutex_);
    try {
        if (listenerRequest_ == ListenerRequest::Close && listenFd_ >= 0)
            ::close(std::exchange(listenFd_, -1));
        else if (listenerRequest_ == ListenerRequest::Reopen && listenFd_ < 0)
            listenFd_ = openListener(port_);
    } catch (const std::exception& e) {
        listenerError_ = e.what();
    }
    if (listenerRequest_ != ListenerRequest::None) {
        listenerRequest_ = ListenerRequest::None;
        listenerChanged_.notify_all();
    }
}

void ControllerServer::stop()
{
    if (!thread_.joinable())
        return;
    stopping_ = true;
    wake();
    thread_.join();
    if (listenFd_ >= 0)
        ::close(listenFd_);
    ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
}

void ControllerServer::wake()
{
    const uint64_t one = 1;
    if (wakeFd_ >= 0)
        (void)!::write(wakeFd_, &one, sizeof one);
}

void ControllerServer::setFaults(const ControllerFaults& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

std::size_t ControllerServer::setConnectionFaults(std::size_t index, const ControllerFaults& faults)
{
    std::lock_guard lock(mutex_);
    connectionFaults_[index] = faults;
    return index;
}

std::size_t ControllerServer::setNextConnectionFaults(const ControllerFaults& faults)
{
    std::lock_guard lock(mutex_);
    connectionFaults_[accepted_] = faults;
    return accepted_;
}

std::size_t ControllerServer::connectionsAccepted() const
{
    std::lock_guard lock(mutex_);
    return accepted_;
}

const ControllerFaults& ControllerServer::faultsOf(std::size_t connection) const
{
    const auto own = connectionFaults_.find(connection);
    return own != connectionFaults_.end() ? own->second : faults_;
}

void ControllerServer::hangUpAll()
{
    hangUpRequested_ = true;
    wake();
}

void ControllerServer::closeListener()
{
    if (thread_.joinable())
        askListener(ListenerRequest::Close);
}

void ControllerServer::noteSent(const std::vector<uint8_t>& packet)
{
    protocol::PacketHeader header;
    protocol::decodePacketHeader(packet, header);
    std::lock_guard lock(mutex_);
    sentTimes_.emplace_back(header.timeMs(), Clock::now());
    if (sentTimes_.size() > 4096)
        sentTimes_.pop_front();
}

std::optional<std::chrono::steady_clock::time_point> ControllerServer::dataPacketSentAt(uint32_t timeMs) const
{
    std::lock_guard lock(mutex_);
    for (auto it = sentTimes_.rbegin(); it != sentTimes_.rend(); ++it)
        if (it->first == timeMs)
            return it->second;
    return std::nullopt;
}

VornSystemConfig ControllerServer::systemConfig() const
{
    std::lock_guard lock(mutex_);
    return state_.systemConfig();
}

VornDeviceConfig ControllerServer::deviceConfig(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    return state_.deviceConfig(address);
}

void ControllerServer::serve()
{
    const Clock::time_point start = Clock::now();
    const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    std::vector<std::unique_ptr<Connection>> connections;

    // Takes every whole request out of a connection's input and answers it.
    const auto answerRequests = [&](Connection& c) {
        while (c.input.size() >= protocol::kPacketHeaderBytes) {
            ReceivedPacket packet;
            protocol::decodePacketHeader(c.input, packet.header);
            if (packet.header.dataLength > kMaxRequestData) {
                if (log_)
                    log_("controller: request announces " + std::to_string(packet.header.dataLength) +
                         " data bytes; hanging up");
                c.closing = true;
                return;
            }
            const std::size_t total = protocol::kPacketHeaderBytes + packet.header.dataLength;
            if (c.input.size() < total)
                return;
            packet.data.assign(c.input.begin() + protocol::kPacketHeaderBytes, c.input.begin() + total);
            c.input.erase(c.input.begin(), c.input.begin() + total);
            std::vector<uint8_t> answer;
            ControllerFaults faults;
            StreamChange change;
            {
                std::lock_guard lock(mutex_);
                faults = faultsOf(c.index);
                change = state_.handle(packet, seconds(), faults, answer);
            }
            received_.append(packet);
            if (faults.closeOnRequest || change == StreamChange::HangUp) {
                c.closing = true;
                return;
            }
            if (faults.garbageBytes > 0) {
                answer.resize(faults.garbageBytes);
                for (std::size_t i = 0; i < answer.size(); ++i)
                    answer[i] = static_cast<uint8_t>(i * 37 + 11);
            }
            if (change == StreamChange::Start) {
                c.streaming = true;
                c.nextReport = Clock::now() + state_.reportPeriod();
            } else if (change == StreamChange::Stop) {
                c.streaming = false;
            }
            if (faults.stall.count() > 0)
                c.delayed.push_back({Clock::now() + faults.stall, std::move(answer)});
            else
                c.output.insert(c.output.end(), answer.begin(), answer.end());
        }
    };

    const auto flush = [](Connection& c) {
        while (!c.output.empty()) {
            const ssize_t n = ::send(c.fd, c.output.data(), c.output.size(), MSG_NOSIGNAL);
            if (n > 0) {
                c.output.erase(c.output.begin(), c.output.begin() + n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                return;
            c.closing = true;
            return;
        }
    };

    while (!stopping_) {
        if (hangUpRequested_.exchange(false))
            connections.clear();
        applyListenerRequest();
        const Clock::time_point now = Clock::now();
        Clock::time_point nextEvent = now + std::chrono::milliseconds(200);
        for (auto& c : connections) {
            while (!c->delayed.empty() && c->delayed.front().due <= now) {
                c->output.insert(c->output.end(), c->delayed.front().bytes.begin(), c->delayed.front().bytes.end());
                c->delayed.pop_front();
            }
            if (!c->delayed.empty())
                nextEvent = std::min(nextEvent, c->delayed.front().due);
            if (c->streaming && c->nextReport <= now) {
                std::vector<uint8_t> packet;
                {
                    std::lock_guard lock(mutex_);
                    // Measured at the report's own time, not when the loop came round.
                    const double at = std::chrono::duration<double>(c->nextReport - start).count();
                    state_.appendDataPacket(at, faultsOf(c->index), packet);
                    c->nextReport += state_.reportPeriod();
                }
                // A reader that fell far behind gets no backlog of old reports.
                if (c->nextReport < now - std::chrono::seconds(1))
                    c->nextReport = now + state_.reportPeriod();
                if (c->output.size() + packet.size() <= kMaxQueuedBytes) {
                    c->output.insert(c->output.end(), packet.begin(), packet.end());
                    noteSent(packet);
                }
            }
            if (c->streaming)
                nextEvent = std::min(nextEvent, c->nextReport);
            flush(*c);
        }
        std::erase_if(connections, [](const auto& c) { return c->closing; });

        std::vector<pollfd> watched;
        watched.push_back({wakeFd_, POLLIN, 0});
        watched.push_back({listenFd_, POLLIN, 0});
        for (auto& c : connections)
            watched.push_back({c->fd, static_cast<short>(POLLIN | (c->output.empty() ? 0 : POLLOUT)), 0});
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(nextEvent - Clock::now()).count();
        if (::poll(watched.data(), watched.size(), static_cast<int>(std::max<int64_t>(waitMs, 0))) < 0 &&
            errno != EINTR)
            break;
        if (watched[0].revents) {
            uint64_t count = 0;
            (void)!::read(wakeFd_, &count, sizeof count);
        }
        if (listenFd_ >= 0 && (watched[1].revents & POLLIN)) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd >= 0) {
                const int on = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                auto c = std::make_unique<Connection>();
                c->fd = fd;
                std::lock_guard lock(mutex_);
                c->index = accepted_++;
                connections.push_back(std::move(c));
            }
        }
        for (std::size_t i = 2; i < watched.size(); ++i) {
            Connection& c = *connections[i - 2];
            if (watched[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                uint8_t buffer[4096];
                const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
                if (n > 0) {
                    c.input.insert(c.input.end(), buffer, buffer + n);
                    answerRequests(c);
                } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                    c.closing = true;
                }
            }
        }
    }
    connections.clear();
    // A change asked while stopping is answered, not left waiting.
    std::lock_guard lock(listenerMutex_);
    if (listenerRequest_ != ListenerRequest::None) {
        listenerError_ = "controller is stopping";
        listenerRequest_ = ListenerRequest::None;
        listenerChanged_.notify_all();
    }
}

} // namespace vorn::sim
