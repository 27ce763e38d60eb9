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
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
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

    // Listens on 127.0.0.1 at the configured port, or at one the kernel picks;
    // throws on failure.
    void start();
    void stop();
    uint16_t port() const { return port_; }

    const PacketLog& received() const { return received_; }
    PacketLog& received() { return received_; }
    // Faults for every connection from now on, except those given faults of their own.
    void setFaults(const ControllerFaults& faults);
    // Faults for one connection only: connections are numbered from 0 in the order
    // they are accepted. Returns `index`.
    std::size_t setConnectionFaults(std::size_t index, const ControllerFaults& faults);
    // Faults for the next connection to be accepted; returns its index.
    std::size_t setNextConnectionFaults(const ControllerFaults& faults);
    // How many connections were accepted so far.
    std::size_t connectionsAccepted() const;
    // Hangs up every open connection, as a controller that vanished.
    void hangUpAll();
    // Stops accepting new connections, as a controller that is gone for good;
    // once it returns, a connection attempt is refused.
    void closeListener();
    // Listens again on the port it had, after closeListener() or stop(), as a
    // controller that comes back; throws if that port was taken meanwhile.
    void reopenListener();

    // When the data packet stamped `timeMs` was handed to the socket, for
    // latency measurements; nullopt for a packet not among the last few thousand.
    std::optional<std::chrono::steady_clock::time_point> dataPacketSentAt(uint32_t timeMs) const;

    VornSystemConfig systemConfig() const;
    VornDeviceConfig deviceConfig(uint8_t address) const;

private:
    struct Connection;
    void serve();
    void wake();
    void launch();
    enum class ListenerRequest { None, Close, Reopen };
    // Has the serving thread close or reopen the listener and waits until it did.
    void askListener(ListenerRequest request);
    // Runs on the serving thread: does what askListener() asked.
    void applyListenerRequest();
    void noteSent(const std::vector<uint8_t>& packet);
    // The faults of a connection; the caller holds mutex_.
    const ControllerFaults& faultsOf(std::size_t connection) const;

    uint16_t configuredPort_;
    ControllerState state_;
    Log log_;
    PacketLog received_;
    mutable std::mutex mutex_; // state_, the faults and the connection count
    ControllerFaults faults_;
    std::map<std::size_t, ControllerFaults> connectionFaults_;
    std::size_t accepted_ = 0;
    std::deque<std::pair<uint32_t, std::chrono::steady_clock::time_point>> sentTimes_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_ {false};
    std::atomic<bool> hangUpRequested_ {false};
    // A listener change asked of the serving thread and its outcome, empty on success.
    std::mutex listenerMutex_;
    std::condition_variable listenerChanged_;
    ListenerRequest listenerRequest_ = ListenerRequest::None;
    std::string listenerError_;
    std::thread thread_;
};

} // namespace vorn::sim
