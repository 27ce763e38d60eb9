// Commands outside the normal command set that a unit still recognises: the factory's test-mode
// and memory commands, which the noise tool sends. Memory addresses travel low byte first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vorn::protocol {

inline constexpr uint8_t kStopStream = 0x3F;         // '?'
inline constexpr uint8_t kRawSampleModeReset = 0x7A; // 'z': leaves the raw-sample mode
inline constexpr uint8_t kRateCount = 'j';           // lo, hi: raw sample rate count
inline constexpr uint8_t kRamWrite = 'e';            // lo, hi, value
inline constexpr uint8_t kRamByteRead = 'd';         // lo, hi: answers 1 byte
inline constexpr uint8_t kPromByteRead = 'k';        // lo, hi: answers 1 byte
inline constexpr uint8_t kRamWordRead = 'w';         // lo, hi: answers a word, low byte first
inline constexpr uint8_t kLineCheckByte = '1';       // the dip-switch line check's byte
inline constexpr uint8_t kAddressTableFirst = 0x80;  // 0x80 + k: entry k of the address table
inline constexpr std::size_t kAddressTableEntries = 20;

// The firmware's text in PROM, which a communications check reads byte by byte: an
// identification, then the maker's notice.
inline constexpr uint16_t kPromTextAddress = 8;
inline constexpr std::size_t kPromTextLength = 61;
inline constexpr std::size_t kPromNoticeLength = 47;

// Argument bytes of such a command, or -1 when the byte is none of them.
int factoryCommandArgumentBytes(uint8_t command);

// k for an address table request 0x80 + k, k = 0..19.
std::optional<std::size_t> addressTableIndex(uint8_t command);

// The request for entry k (k below kAddressTableEntries).
constexpr uint8_t addressTableRequest(std::size_t k)
{
    return static_cast<uint8_t>(kAddressTableFirst + k);
}

// A command byte and its 16-bit argument (a memory address, the rate count), low byte first.
constexpr std::array<uint8_t, 3> wordCommand(uint8_t command, uint16_t word)
{
    return {command, static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)};
}

} // namespace vorn::protocol
