#include "isa/port_io_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vorn::sim {

namespace {

constexpr uint32_t kReadWord = 8;
constexpr uint32_t kWriteWord = 11;
constexpr std::size_t kRequestBytes = 12;

uint32_t little32(const uint8_t* in)
{
    return uint32_t {in[0]} | uint32_t {in[1]} << 8 | uint32_t {in[2]} << 16 | uint32_t {in[3]} << 24;
}

void putLittle32(uint32_t value, uint8_t* out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

struct Client {
    int fd = -1;
    std::vector<uint8_t> input;
};

} // namespace

PortIoServer::PortIoServer(IsaConfig config, IsaRack::Log log) : rack_(std::move(config), log), log_(std::move(log)) {}

PortIoServer::~PortIoServer()
{
    stop();
}

void PortIoServer::start()
{
    char pattern[] = "/tmp/vornsim-portio-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::runtime_error(std::string("port-I/O service: no temporary folder: ") + std::strerror(errno));
    directory_ = pattern;
    path_ = directory_ / "portio";
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 8) != 0)
        throw std::runtime_error(std::string("port-I/O service cannot listen: ") + std::strerror(errno));
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
}

void PortIoServer::stop()
{
    if (!thread_.joinable())
        return;
    stopping_ = true;
    const uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    thread_.join();
    ::close(listenFd_);
    ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void PortIoServer::exportEnvironment() const
{
    ::setenv("VORN_PORTIO", path_.c_str(), 1);
}

void PortIoServer::setFaults(const PortIoFaults& faults)
{
    std::lock_guard lock(faultsMutex_);
    faults_ = faults;
}

void PortIoServer::serve()
{
    std::vector<Client> clients;
    while (!stopping_) {
        std::vector<pollfd> watched {{wakeFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        for (const Client& c : clients)
            watched.push_back({c.fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), 500) < 0 && errno != EINTR)
            break;
        if (watched[1].revents & POLLIN) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0)
                clients.push_back({fd, {}});
        }
        for (std::size_t i = 2; i < watched.size(); ++i) {
            Client& c = clients[i - 2];
            if ((watched[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
                continue;
            uint8_t buffer[1200];
            const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                ::close(c.fd);
                c.fd = -1;
                continue;
            }
            c.input.insert(c.input.end(), buffer, buffer + n);
            PortIoFaults faults;
            {
                std::lock_guard lock(faultsMutex_);
                faults = faults_;
            }
            while (c.fd >= 0 && c.input.size() >= kRequestBytes) {
                uint8_t request[kRequestBytes];
                std::copy_n(c.input.begin(), kRequestBytes, request);
                c.input.erase(c.input.begin(), c.input.begin() + kRequestBytes);
                if (faults.closeOnAccess) {
                    ::close(c.fd);
                    c.fd = -1;
                    break;
                }
                if (faults.stall.count() > 0)
                    std::this_thread::sleep_for(faults.stall);
                const uint32_t operation = little32(request);
                const auto port = static_cast<uint16_t>(little32(request + 4));
                if (operation == kReadWord)
                    putLittle32(rack_.read(port), request + 8);
                else if (operation == kWriteWord)
                    rack_.write(port, static_cast<uint16_t>(little32(request + 8)));
                else if (log_)
                    log_("port-I/O: unknown operation " + std::to_string(operation));
                ++accesses_;
                if (::send(c.fd, request, kRequestBytes, MSG_NOSIGNAL) != static_cast<ssize_t>(kRequestBytes)) {
                    ::close(c.fd);
                    c.fd = -1;
                }
            }
        }
        std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
    }
    for (const Client& c : clients)
        ::close(c.fd);
}

} // namespace vorn::sim
