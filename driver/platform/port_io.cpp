#include "platform/port_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vorn::platform {

namespace {

const char* servicePath()
{
    const char* path = std::getenv(kPortIoVariable);
    return path != nullptr && *path != '\0' ? path : nullptr;
}

void putLittle32(uint32_t value, uint8_t* out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t readLittle32(const uint8_t* in)
{
    return uint32_t {in[0]} | uint32_t {in[1]} << 8 | uint32_t {in[2]} << 16 | uint32_t {in[3]} << 24;
}

class ServicePortIo final : public PortIo {
public:
    ~ServicePortIo() override { disconnect(); }

    int connect(const char* path)
    {
        path_ = path;
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        if (fd_ < 0)
            return errno;
        if (std::strlen(path) >= sizeof address.sun_path) {
            disconnect();
            return ENAMETOOLONG;
        }
        std::strcpy(address.sun_path, path);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            const int error = errno;
            disconnect();
            return error;
        }
        return 0;
    }

    bool read(uint16_t port, uint16_t& word, uint32_t limitMs) override
    {
        uint32_t value = 0;
        if (!access(kPortIoReadWord, port, value, limitMs))
            return false;
        word = static_cast<uint16_t>(value);
        return true;
    }

    bool write(uint16_t port, uint16_t word, uint32_t limitMs) override
    {
        uint32_t value = word;
        return access(kPortIoWriteWord, port, value, limitMs);
    }

private:
    bool access(uint32_t operation, uint16_t port, uint32_t& value, uint32_t limitMs)
    {
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(std::min(limitMs, kAccessLimitMs));
        // A connection that broke is made again once per access: a service
        // that restarted serves the groups that outlived it.
        if (fd_ < 0 && connect(path_.c_str()) != 0)
            return false;
        uint8_t request[12];
        putLittle32(operation, request);
        putLittle32(port, request + 4);
        putLittle32(value, request + 8);
        if (!transfer(request, true, end) || !transfer(request, false, end)) {
            // An answer that may still come would pair with the next request.
            disconnect();
            return false;
        }
        value = readLittle32(request + 8);
        return true;
    }

    bool transfer(uint8_t (&bytes)[12], bool sending, std::chrono::steady_clock::time_point end)
    {
        std::size_t done = 0;
        while (done < sizeof bytes) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd p {fd_, static_cast<short>(sending ? POLLOUT : POLLIN), 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return false;
            const ssize_t n = sending ? ::send(fd_, bytes + done, sizeof bytes - done, MSG_NOSIGNAL)
                                      : ::recv(fd_, bytes + done, sizeof bytes - done, 0);
            if (n <= 0) {
                if (n < 0 && errno == EINTR)
                    continue;
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    void disconnect()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
    std::string path_;
};

class DevicePortIo final : public PortIo {
public:
    ~DevicePortIo() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    // A port instruction does not stall: the limit has nothing to bound.
    bool read(uint16_t port, uint16_t& word, uint32_t) override
    {
        uint8_t bytes[2];
        if (!open() || ::pread(fd_, bytes, 2, port) != 2)
            return false;
        word = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
        return true;
    }

    bool write(uint16_t port, uint16_t word, uint32_t) override
    {
        const uint8_t bytes[2] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)};
        return open() && ::pwrite(fd_, bytes, 2, port) == 2;
    }

private:
    bool open()
    {
        if (fd_ < 0)
            fd_ = ::open("/dev/port", O_RDWR | O_CLOEXEC);
        return fd_ >= 0;
    }

    int fd_ = -1;
};

std::weak_ptr<PortIo> shared;

} // namespace

bool portIoServiceConfigured()
{
    return servicePath() != nullptr;
}

std::shared_ptr<PortIo> acquirePortIo(int& error)
{
    error = 0;
    if (auto existing = shared.lock())
        return existing;
    std::shared_ptr<PortIo> created;
    if (const char* path = servicePath()) {
        auto service = std::make_shared<ServicePortIo>();
        error = service->connect(path);
        if (error != 0)
            return nullptr;
        created = service;
    } else {
        created = std::make_shared<DevicePortIo>();
    }
    shared = created;
    return created;
}

} // namespace vorn::platform
