// The three kinds of link to units; byte order and record packing differ per kind.
#pragma once

#include <cstdint>

namespace vorn::protocol {

enum class Connection : uint8_t { Rs232, Isa, Tcpip };

} // namespace vorn::protocol
