// The address prefix that sends a command through the master to a unit behind it on the FVB.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vorn::protocol {

enum class AddressingMode : uint8_t { Normal = 0, Expanded = 1, SuperExpanded = 2 };

constexpr uint8_t toUnderlying(AddressingMode m)
{
    return static_cast<uint8_t>(m);
}

struct FvbPrefix {
    std::array<uint8_t, 2> bytes {};
    std::size_t length = 0;

    std::span<const uint8_t> view() const { return {bytes.data(), length}; }
};

// Prefix for unit address `address` under the master's addressing mode (0, 1, 2):
// 0xF0+a for a = 0..15, 0xE0+(a-16) for a = 16..30 in expanded mode, 0xA0 a for
// a = 1..126 in super-expanded mode. Nullopt when the mode cannot reach the address.
std::optional<FvbPrefix> fvbPrefix(uint8_t addressingMode, uint8_t address);

// What the master sees at the head of its input.
struct FvbPrefixMatch {
    enum class Kind : uint8_t {
        NoPrefix, // the first byte is a command for the master itself
        Prefix,   // `address` is named by the first `length` bytes
        NeedMore, // 0xA0 without its address byte yet
        Invalid,  // a prefix form naming no possible address; skip `length` bytes
    };
    Kind kind = Kind::NoPrefix;
    uint8_t address = 0;
    std::size_t length = 0;
};

// Recognises any of the three prefix forms whatever the mode, as a master does.
FvbPrefixMatch matchFvbPrefix(std::span<const uint8_t> bytes);

} // namespace vorn::protocol
