// One command as a unit receives it: optional FVB address, command byte, arguments.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vorn::sim {

struct ParsedCommand {
    std::optional<uint8_t> address; // named by an FVB prefix
    uint8_t command = 0;
    std::array<uint8_t, 16> arguments {};
    std::size_t argumentCount = 0;

    std::span<const uint8_t> args() const { return {arguments.data(), argumentCount}; }
};

} // namespace vorn::sim
