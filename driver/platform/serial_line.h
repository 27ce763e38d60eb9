// One serial line as the driver sees it: a raw 8N1 descriptor plus an input
// queue of its own.
//
// The kernel's tty buffer (4 KiB) is far smaller than the 32767-byte driver
// queue the stream logic counts on, so the line drains the descriptor into
// its own ring and the transport counts and reads bytes from there. Nothing
// here waits for time to pass: the caller polls fd() and calls fill().
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vorn::platform {

class SerialLine {
public:
    static constexpr std::size_t kInputQueueSize = 32767;

    SerialLine() = default;
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Path of COM<n>: $VORN_COM<n> when set, else /dev/ttyS<n-1>.
    static std::string pathForPort(unsigned portNumber);

    // Opens the path exclusively (flock + TIOCEXCL), non-blocking, without
    // becoming the controlling terminal. On failure errorText() says why.
    bool open(const std::string& path);
    // Raw mode, 8 data bits, no parity, one stop bit, the given baud rate
    // (any rate: non-standard ones go through termios2).
    bool configure(uint32_t baudRate);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Drains whatever the descriptor holds into the input queue, as far as
    // the queue has room. Returns false when the other end is gone.
    bool fill();
    // Bytes waiting in the input queue (after a fill()).
    std::size_t queued() const { return count_; }
    // Takes exactly n queued bytes; false (and nothing taken) if fewer wait.
    bool take(uint8_t* out, std::size_t n);
    // The oldest queued byte, left in the queue; nothing when none waits.
    std::optional<uint8_t> peek() const;
    // Discards the input queue and whatever the kernel holds for reading.
    void purgeInput();

    // Writes all bytes, waiting for room at most timeoutMs. Returns the
    // number of bytes written.
    std::size_t write(const uint8_t* bytes, std::size_t n, uint32_t timeoutMs);

    // RTS control. A line without modem-control lines (a pseudo-terminal)
    // counts as success.
    bool setRts(bool asserted);

    const std::string& errorText() const { return error_; }

private:
    bool fail(const std::string& what);

    int fd_ = -1;
    std::string error_;
    // Ring buffer: head_ is the oldest byte.
    uint8_t queue_[kInputQueueSize] = {};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

} // namespace vorn::platform
