// The only module that speaks OpenIGTLink through Debian's libopenigtlink.
// Its API changes between versions, so the rest of vorn-igtl sees only these
// plain functions and byte buffers.
#pragma once

#include "sensor_pose.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornigtl {

constexpr std::size_t kHeaderSize = 58;
constexpr std::size_t kTransformBodySize = 48;
constexpr std::size_t kTransformMessageSize = kHeaderSize + kTransformBodySize;
constexpr std::size_t kDeviceNameSize = 20;

// Status codes of the protocol's STATUS message that this server sends.
enum class StatusCode : uint16_t {
    Ok = 1,
    UnknownError = 2,
    NotFound = 4,
    AccessDenied = 5,
    TimeOut = 7,
    ConfigError = 10,
    NotReady = 13,
    HardwareFailure = 18,
    ShutDown = 19
};

// Protocol time stamp: seconds in the high word, fraction of a second in the low word.
uint64_t timestampOf(uint32_t seconds, uint32_t nanoseconds);
uint64_t timestampOfMilliseconds(uint32_t milliseconds);

// Writes one TRANSFORM message of `deviceName` (at most 20 characters) into
// `out`, which holds kTransformMessageSize bytes. Allocates nothing.
void encodeTransform(std::string_view deviceName, const SensorPose& pose, uint64_t timestamp, uint8_t* out);

// One whole STATUS message.
std::vector<uint8_t> encodeStatus(StatusCode code, std::string_view deviceName, std::string_view errorName,
                                  std::string_view text, uint64_t timestamp);

// The fields of a message header a client sent.
struct MessageHeader {
    uint16_t version = 0;
    std::string type;
    std::string deviceName;
    uint64_t bodySize = 0;
};

// Decodes kHeaderSize bytes; empty when the type name is not an upper-case word,
// which means the stream is not OpenIGTLink (or has lost its place).
std::optional<MessageHeader> decodeHeader(const uint8_t* bytes);

} // namespace vornigtl
