// The networked controller on a loopback TCP port: it accepts connections,
// answers each request through ControllerState, streams data packets at the
// report rate, logs every packet it received, and commits the faults a test
// asks for. One thread serves every connection.
#pragma once

#include "controller/controller_config.h"
#include "controller/controller_faults.h"
#include "controller/controller_state.h"
#include "controller/packet_log.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <optional>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vorn::sim {

class ControllerServer {
public:
    using Log = std::function<void(const std::string&)>;

    explicit ControllerServer(ControllerConfig config, Log log = {});
    ~ControllerServer();
    ControllerServer(const ControllerServer&) = delete;
    ControllerServer& operator=(const ControllerServer&) = delete;

    // Listens on 127.0.0.1 at a port the kernel picks; throws on failure.
    void start();
    void stop();
    uint16_t port() const { return port_; }

    const PacketLog& received() const { return received_; }
    PacketLog& received() { return received_; }
    // Faults for every connection from now on.
    void setFaults(const ControllerFaults& faults);
    // Hangs up every open connection, as a controller that vanished.
    void hangUpAll();
    // Stops accepting new connections, as a controller that is gone for good.
    void closeListener();

    // When the data packet stamped `timeMs` was handed to the socket, for
    // latency measurements; nullopt for a packet not among the last few thousand.
    std::optional<std::chrono::steady_clock::time_point> dataPacketSentAt(uint32_t timeMs) const;

    VornSystemConfig systemConfig() const;
    VornDeviceConfig deviceConfig(uint8_t address) const;

private:
    struct Connection;
    void serve();
    void wake();
    void noteSent(const std::vector<uint8_t>& packet);

    ControllerState state_;
    Log log_;
    PacketLog received_;
    mutable std::mutex mutex_; // state_ and faults_
    ControllerFaults faults_;
    std::deque<std::pair<uint32_t, std::chrono::steady_clock::time_point>> sentTimes_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_ {false};
    std::atomic<bool> hangUpRequested_ {false};
    std::atomic<bool> closeListenerRequested_ {false};
    std::thread thread_;
};

} // namespace vorn::sim
