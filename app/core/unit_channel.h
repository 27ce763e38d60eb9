// The few unit commands Vornscope sends itself through the library's
// pass-through calls: examine and change value, next transmitter, run and
// sleep. On ISA every transfer is a word, so an odd command gets one zero
// byte of padding and a one-byte answer arrives as the second of two bytes.
#pragma once

#include "core/vorn_library.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornscope {

namespace unit_command {
constexpr std::uint8_t kNextTransmitter = 0x30; // '0'
constexpr std::uint8_t kRun = 0x46;             // 'F'
constexpr std::uint8_t kSleep = 0x47;           // 'G'
constexpr std::uint8_t kExamine = 0x4F;         // 'O'
constexpr std::uint8_t kChange = 0x50;          // 'P'
} // namespace unit_command

namespace unit_parameter {
constexpr std::uint8_t kModelIdentification = 15;
constexpr std::uint8_t kTransmitterMode = 18;
constexpr std::uint8_t kLineFrequency = 20;
constexpr std::uint8_t kMetalDetection = 28;
} // namespace unit_parameter

class UnitChannel {
public:
    UnitChannel(VornLibrary& library, int group, Transport link) : library_(library), group_(group), link_(link) {}

    // False on TCP/IP, where the controller takes no unit commands.
    bool available() const { return link_ != Transport::TCPIP; }

    bool send(int unit, std::vector<std::uint8_t> bytes);
    // Reads an answer of `length` bytes as the unit meant it (ISA padding removed).
    std::optional<std::vector<std::uint8_t>> examine(int unit, std::uint8_t parameter, std::size_t length);
    std::optional<std::uint8_t> examineByte(int unit, std::uint8_t parameter);
    std::optional<std::string> modelString(int unit);
    bool change(int unit, std::uint8_t parameter, std::uint8_t value);

private:
    VornLibrary& library_;
    int group_;
    Transport link_;
};

} // namespace vornscope
