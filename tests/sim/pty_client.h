// The other side of a simulated serial line, as a test drives it: raw bytes in and out.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vorn::sim::test {

class PtyClient {
public:
    explicit PtyClient(const std::filesystem::path& path, unsigned baud = 115200);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    void send(const std::vector<uint8_t>& bytes);
    // Exactly `count` bytes, or fewer if `timeout` passes first.
    std::vector<uint8_t> read(std::size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    // Everything that arrives within `duration`.
    std::vector<uint8_t> readFor(std::chrono::milliseconds duration);
    // Sends a command and waits for its answer of `count` bytes.
    std::vector<uint8_t> ask(const std::vector<uint8_t>& bytes, std::size_t count,
                             std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    void close();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

} // namespace vorn::sim::test
