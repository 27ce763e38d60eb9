// Baud-rate setting kept apart from <termios.h>: the kernel's termios2
// header, needed for rates outside the standard table, clashes with it.
#pragma once

#include <cstdint>

namespace vorn::platform {

// Sets an arbitrary input and output rate on a tty descriptor.
bool setCustomBaudRate(int fd, uint32_t baudRate);

} // namespace vorn::platform
