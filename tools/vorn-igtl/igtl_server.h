// The listening side: accepts any number of clients (up to a limit), sends
// each every published frame through its own bounded queue, and reads and
// throws away whatever clients send. One network thread does all socket work;
// publish() only copies bytes into the queues, so a client that stalls costs
// acquisition nothing but its oldest frames.
#pragma once

#include "frame_queue.h"
#include "igtl_codec.h"
#include "incoming_scanner.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vornigtl {

struct ServerSettings {
    std::string address = "0.0.0.0";
    uint16_t port = 18944;       // 0: the kernel chooses
    std::size_t queueFrames = 8; // per client
    std::size_t maxClients = 32;
    uint64_t maxBodySize = 16u * 1024u * 1024u; // larger incoming messages drop the client
};

class IgtlServer {
public:
    explicit IgtlServer(ServerSettings settings);
    ~IgtlServer();
    IgtlServer(const IgtlServer&) = delete;
    IgtlServer& operator=(const IgtlServer&) = delete;

    // Binds, listens and starts the network thread; on failure says why in `error`.
    bool start(std::string& error);
    uint16_t port() const { return boundPort_; }

    // Queues the bytes of one frame for every client. Allocates nothing once
    // each client has seen a frame of this size.
    void publish(const uint8_t* bytes, std::size_t size);
    // Sends a STATUS message to every client; clients that connect later get
    // the statuses since the last OK one.
    void announce(StatusCode code, const std::string& errorName, const std::string& text);
    // Keeps serving for `flushMs` (clients take what is queued, late ones get
    // the statuses), then closes everything.
    void stop(int flushMs);

    std::size_t clientCount() const;

private:
    struct Client;

    void run();
    void acceptClients();
    // Tells a client over the limit why, then closes it.
    void refuse(int fd, const std::string& why) const;
    bool receiveFrom(Client& client);
    bool sendTo(Client& client);
    bool hasPending(const Client& client) const;
    // Whether the client has more unread than a few frames; network thread only.
    static bool isBehind(Client& client);
    void dropClient(std::size_t index, const std::string& why);
    void wake();

    ServerSettings settings_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    uint16_t boundPort_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_ {false};
    std::atomic<int64_t> stopDeadlineMs_ {0};
    std::atomic<bool> stopImmediately_ {false};

    mutable std::mutex mutex_; // guards clients_' queues and the list, and greeting_
    std::vector<std::unique_ptr<Client>> clients_;
    std::vector<uint8_t> greeting_;
};

} // namespace vornigtl
