#include "transports/prefixed_command.h"

#include "group/error_reporter.h"
#include "protocol/fvb_prefix.h"

#include <algorithm>

namespace vorn {

bool PrefixedCommand::build(int addressingMode, int unit, std::span<const uint8_t> command)
{
    // Normal and expanded mode share the one-byte forms (0xF0 + a below 16,
    // 0xE0 + a - 16 up to 30); super-expanded mode uses 0xA0, a. Other
    // addresses have no prefix: a one-byte form for them would name a
    // different unit.
    const auto mode =
        addressingMode == 2 ? protocol::AddressingMode::SuperExpanded : protocol::AddressingMode::Expanded;
    const auto prefix = protocol::fvbPrefix(protocol::toUnderlying(mode), static_cast<uint8_t>(unit));
    if (!prefix) {
        reportError("Unable to address vorn #%d through the master vorn in addressing mode %d.", unit, addressingMode);
        return false;
    }
    if (prefix->length + command.size() > kBufferBytes) {
        reportError("Unable to send %zu bytes to vorn #%d through the master vorn: at most %zu bytes "
                    "fit with the address prefix.",
                    command.size(), unit, kBufferBytes - prefix->length);
        return false;
    }
    std::copy_n(prefix->bytes.begin(), prefix->length, buffer_);
    std::copy(command.begin(), command.end(), buffer_ + prefix->length);
    length_ = prefix->length + command.size();
    return true;
}

} // namespace vorn
