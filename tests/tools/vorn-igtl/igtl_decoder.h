// An OpenIGTLink reader written from the protocol description alone, so that
// the server's messages are checked by code that shares nothing with the
// library it encodes with: 58-byte big-endian header, CRC-64 (ECMA-182) of
// the body, TRANSFORM and STATUS bodies.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace igtltest {

uint64_t crc64(const uint8_t* bytes, std::size_t size);

struct Message {
    uint16_t version = 0;
    std::string type;
    std::string deviceName;
    uint32_t seconds = 0;
    uint32_t fraction = 0;
    uint64_t crc = 0;
    std::vector<uint8_t> body;

    bool crcMatches() const { return crc64(body.data(), body.size()) == crc; }
    double time() const { return seconds + fraction / 4294967296.0; }
};

struct Transform {
    std::array<std::array<double, 3>, 3> rotation {}; // [row][column]
    std::array<double, 3> translation {};
};

struct Status {
    uint16_t code = 0;
    int64_t subcode = 0;
    std::string errorName;
    std::string text;
};

// Takes one whole message off the front of `stream`; empty when it holds less.
std::optional<Message> takeMessage(std::vector<uint8_t>& stream);

std::optional<Transform> transformOf(const Message& message);
std::optional<Status> statusOf(const Message& message);

// Bytes of a message with any header version, type and body, for clients that talk back.
std::vector<uint8_t> makeMessage(uint16_t version, const std::string& type, const std::string& device,
                                 const std::vector<uint8_t>& body);

} // namespace igtltest
