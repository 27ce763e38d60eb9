// The port-I/O service in front of simulated ISA boards: a Unix-domain
// stream socket taking 12-byte requests (three little-endian u32:
// operation, port, value; 8 reads a word, 11 writes one) and answering each
// with 12 bytes of the same layout, the word read in the third value.
// Clients find it through VORN_PORTIO. One thread serves every connection.
#pragma once

#include "isa/isa_rack.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vorn::sim {

struct PortIoFaults {
    bool closeOnAccess = false;          // hang up instead of answering
    std::chrono::milliseconds stall {0}; // wait this long before each answer
};

class PortIoServer {
public:
    explicit PortIoServer(IsaConfig config, IsaRack::Log log = {});
    ~PortIoServer();
    PortIoServer(const PortIoServer&) = delete;
    PortIoServer& operator=(const PortIoServer&) = delete;

    // Creates the socket in a fresh temporary folder and serves it; throws on failure.
    void start();
    void stop();
    const std::filesystem::path& path() const { return path_; }
    // Sets VORN_PORTIO in this process, for in-process clients.
    void exportEnvironment() const;

    IsaRack& rack() { return rack_; }
    void setFaults(const PortIoFaults& faults);
    uint64_t accesses() const { return accesses_; }

private:
    void serve();

    IsaRack rack_;
    IsaRack::Log log_;
    std::filesystem::path directory_;
    std::filesystem::path path_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::mutex faultsMutex_;
    PortIoFaults faults_;
    std::atomic<uint64_t> accesses_ {0};
    std::atomic<bool> stopping_ {false};
    std::thread thread_;
};

} // namespace vorn::sim
