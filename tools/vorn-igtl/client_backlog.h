// How far behind a client is: bytes it has not read yet, whether they still
// sit in our socket or already in its own receive buffer. The peer's
// advertised window shrinks by what it holds unread, so the largest window
// seen minus the present one tells. A client that stops reading would
// otherwise collect seconds of old frames in its receive buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vornigtl {

class ClientBacklog {
public:
    // Bytes sent to the client over `fd` that it has not read, or nothing when the
    // system does not say (then nothing is held back).
    std::optional<std::size_t> unread(int fd);

private:
    uint32_t largestWindow_ = 0;
};

// Turns on what keeps the peer's window known while nothing is sent to it: keep-alive
// probes after a second of silence, which it answers with its present window.
void watchPeerWindow(int fd);

} // namespace vornigtl
