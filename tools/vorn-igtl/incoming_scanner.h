// Follows what a client sends message by message so that it can be read and
// thrown away without buffering bodies: only headers are kept, bodies are
// counted off. It notices a stream that is not the protocol and bodies too
// large to be meant.
#pragma once

#include "igtl_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vornigtl {

class IncomingScanner {
public:
    enum class Verdict { Fine, Garbage, Oversized };

    explicit IncomingScanner(uint64_t maxBodySize) : maxBodySize_(maxBodySize) {}

    // Consumes received bytes; headers completed on the way are appended to
    // `headers`. Anything but Fine is final: the client is to be dropped.
    Verdict feed(const uint8_t* bytes, std::size_t size, std::vector<MessageHeader>& headers);

    uint64_t messages() const { return messages_; }

private:
    uint64_t maxBodySize_;
    std::array<uint8_t, kHeaderSize> header_ {};
    std::size_t headerFill_ = 0;
    uint64_t bodyLeft_ = 0;
    uint64_t messages_ = 0;
};

} // namespace vornigtl
