// Faults a test can make the controller commit on its connections.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vorn::sim {

struct ControllerFaults {
    bool closeOnRequest = false;                 // hang up instead of answering
    std::chrono::milliseconds stall {0};         // wait this long before every answer
    std::optional<uint8_t> answerType {};        // answer requests with this packet type
    uint8_t errorCode = 0;                       // and/or this error code...
    uint16_t errorExtension = 0;                 // ...and extension
    std::optional<uint8_t> dataPacketType {};    // data packets carry this type instead of 210
    std::optional<uint16_t> announcedPayload {}; // data packets announce this many bytes...
    bool truncateLastRecord = false;             // ...or lose the last byte of their last record
    std::optional<uint8_t> recordAddress {};     // the first record names this address
    std::optional<uint8_t> recordFormat {};      // the first record carries this format nibble
    bool answerRunContinuousWithData = false;    // data before (instead of) the 204 answer
    std::size_t garbageBytes = 0;                // answer requests with this many bytes of noise
};

} // namespace vorn::sim
