// Commands outside the normal command set that a unit still recognises: the factory's
// test-mode commands, which the noise collection uses. Knowing them keeps their argument bytes
// from being taken for commands.
#pragma once

#include <cstdint>
#include <optional>

namespace vorn::sim {

inline constexpr uint8_t kStopStream = 0x3F;          // '?'
inline constexpr uint8_t kRawSampleModeReset = 0x7A;  // 'z': leaves the raw-sample mode
inline constexpr uint8_t kRateCount = 'j';            // lo, hi: raw sample rate count
inline constexpr uint8_t kRamWrite = 'e';             // lo, hi, value
inline constexpr uint8_t kRamByteRead = 'd';          // lo, hi: answers 1 byte
inline constexpr uint8_t kPromByteRead = 'k';         // lo, hi: answers 1 byte
inline constexpr uint8_t kRamWordRead = 'w';          // lo, hi: answers 2 bytes, low first
inline constexpr uint8_t kLineCheckByte = '1';        // the dip-switch line check's byte; a unit ignores it
inline constexpr uint8_t kAddressTableFirst = 0x80;   // 0x80 + k: entry k of the address table

// Argument bytes of such a command, or -1 when the byte is no command at all.
int factoryCommandArgumentBytes(uint8_t command);

// k for an address table request 0x80 + k, k = 0..19.
std::optional<std::size_t> addressTableIndex(uint8_t command);

} // namespace vorn::sim
