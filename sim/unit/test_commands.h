// Commands outside the normal command set that a unit still recognises, so that their
// argument bytes are never taken for commands.
#pragma once

#include <cstdint>

namespace vorn::sim {

inline constexpr uint8_t kStopStream = 0x3F;   // '?'
inline constexpr uint8_t kTestModeReset = 0x7A; // 'z'

// Argument bytes of such a command, or -1 when the byte is no command at all.
int testCommandArgumentBytes(uint8_t command);

} // namespace vorn::sim
