// A command for a unit behind the master: the FVB address prefix in front,
// in the units' 64-byte command buffer. RS232 lines and ISA boards share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorn {

class PrefixedCommand {
public:
    static constexpr std::size_t kBufferBytes = 64;

    // Builds the prefixed copy for the master's addressing mode (2 selects
    // the two-byte form). An address the mode cannot name, or a command that
    // does not fit, is refused with a message.
    bool build(int addressingMode, int unit, std::span<const uint8_t> command);
    std::span<const uint8_t> bytes() const { return {buffer_, length_}; }

private:
    uint8_t buffer_[kBufferBytes] = {};
    std::size_t length_ = 0;
};

} // namespace vorn
