// The 16-byte big-endian header of every packet to and from the networked controller.
#pragma once

#include "protocol/decode_result.h"

#include <array>
#include <cstdint>
#include <span>

namespace vorn::protocol {

inline constexpr std::size_t kPacketHeaderBytes = 16;
inline constexpr uint8_t kProtocolVersion = 3;

enum class PacketType : uint8_t {
    WakeUp = 10,
    ShutDown = 11,
    WakeUpAnswer = 20,
    GetStatus = 101,
    SendSetup = 102,
    SingleShot = 103,
    RunContinuous = 104,
    StopData = 105,
    StatusAnswer = 201,
    SetupAnswer = 202,
    RunContinuousAnswer = 204,
    Data = 210,
    DataAlternate = 212,
};

constexpr uint8_t toByte(PacketType t)
{
    return static_cast<uint8_t>(t);
}

// Both data packet types are decoded alike.
constexpr bool isDataPacket(uint8_t type)
{
    return type == toByte(PacketType::Data) || type == toByte(PacketType::DataAlternate);
}

struct PacketHeader {
    uint16_t sequence = 0;
    uint16_t milliseconds = 0;
    uint32_t seconds = 0;
    uint8_t type = 0;
    uint8_t subtype = 0; // the unit address in per-unit status requests
    uint8_t protocolVersion = kProtocolVersion;
    uint8_t errorCode = 0;
    uint16_t errorExtension = 0;
    uint16_t dataLength = 0;

    // The frame time stamp a data packet carries.
    uint32_t timeMs() const { return seconds * 1000u + milliseconds; }
};

std::array<uint8_t, kPacketHeaderBytes> encodePacketHeader(const PacketHeader& header);

// Needs 16 bytes; never invalid (every field value is representable).
DecodeResult decodePacketHeader(std::span<const uint8_t> bytes, PacketHeader& header);

} // namespace vorn::protocol
