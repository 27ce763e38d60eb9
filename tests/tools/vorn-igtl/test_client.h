// A plain TCP client of the server for tests: connects to loopback, sends
// raw bytes and collects decoded messages with a time limit.
#pragma once

#include "igtl_decoder.h"

#include <chrono>
#include <functional>

namespace igtltest {

class TestClient {
public:
    // receiveBuffer > 0 shrinks the socket's receive buffer (a client that reads little).
    explicit TestClient(uint16_t port, int receiveBuffer = 0);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool connected() const { return fd_ >= 0; }
    bool send(const std::vector<uint8_t>& bytes);
    // Reads until `done` accepts a message or `limit` passes; returns the messages read.
    std::vector<Message> receiveUntil(const std::function<bool(const Message&)>& done, std::chrono::milliseconds limit);
    std::vector<Message> receiveCount(std::size_t count, std::chrono::milliseconds limit);
    // True when the server closed the connection within `limit` (what is still sent is read and dropped).
    bool closedByServer(std::chrono::milliseconds limit);
    void close();

private:
    int fd_ = -1;
    std::vector<uint8_t> stream_;
};

} // namespace igtltest
