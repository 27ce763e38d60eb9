// A TCP stream connection to the networked controller, on POSIX sockets.
// Every wait goes through PumpWait, so the caller's pump hook and timers run
// and a quit request ends it; every wait has a deadline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorn::platform {

enum class IoResult { Ok, Failed, TimedOut, Quit };

class StreamSocket {
public:
    StreamSocket() = default;
    ~StreamSocket();
    StreamSocket(const StreamSocket&) = delete;
    StreamSocket& operator=(const StreamSocket&) = delete;

    // A TCP socket on any local port; false when the system refuses one.
    bool create();
    // Connects to a dotted IPv4 address or an IPv4 host name. A name that
    // does not resolve, a refused connection and one that takes longer than
    // timeoutMs all fail.
    IoResult connect(const std::string& address, uint16_t port, uint32_t timeoutMs);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Writes every byte before deadlineMs (library clock).
    IoResult sendAll(std::span<const uint8_t> bytes, uint64_t deadlineMs);
    // Reads exactly bytes.size() bytes before deadlineMs; a closed or broken
    // connection fails.
    IoResult receiveExactly(std::span<uint8_t> bytes, uint64_t deadlineMs);
    // Bytes received and not yet read; false when the query fails.
    bool bytesWaiting(std::size_t& count) const;
    // Reads what is there without waiting (at most bytes.size()); -1 on a
    // failure or a closed connection.
    long readAvailable(std::span<uint8_t> bytes);

private:
    int fd_ = -1;
};

} // namespace vorn::platform
