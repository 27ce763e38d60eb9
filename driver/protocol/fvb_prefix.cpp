#include "protocol/fvb_prefix.h"

namespace vorn::protocol {

namespace {

constexpr uint8_t kNormalBase = 0xF0;
constexpr uint8_t kExpandedBase = 0xE0;
constexpr uint8_t kSuperExpandedMark = 0xA0;
constexpr uint8_t kLastExpandedAddress = 30;
constexpr uint8_t kLastSuperExpandedAddress = 126;

} // namespace

std::optional<FvbPrefix> fvbPrefix(uint8_t addressingMode, uint8_t address)
{
    FvbPrefix prefix;
    if (addressingMode == toUnderlying(AddressingMode::SuperExpanded)) {
        if (address < 1 || address > kLastSuperExpandedAddress) {
            return std::nullopt;
        }
        prefix.bytes = {kSuperExpandedMark, address};
        prefix.length = 2;
        return prefix;
    }
    if (address < 16) {
        prefix.bytes[0] = static_cast<uint8_t>(kNormalBase + address);
    } else if (addressingMode == toUnderlying(AddressingMode::Expanded) && address <= kLastExpandedAddress) {
        prefix.bytes[0] = static_cast<uint8_t>(kExpandedBase + (address - 16));
    } else {
        return std::nullopt;
    }
    prefix.length = 1;
    return prefix;
}

FvbPrefixMatch matchFvbPrefix(std::span<const uint8_t> bytes)
{
    using Kind = FvbPrefixMatch::Kind;
    if (bytes.empty()) {
        return {Kind::NeedMore, 0, 1};
    }
    const uint8_t first = bytes[0];
    if (first >= kNormalBase) {
        return {Kind::Prefix, static_cast<uint8_t>(first - kNormalBase), 1};
    }
    if (first >= kExpandedBase) {
        const uint8_t address = static_cast<uint8_t>(16 + first - kExpandedBase);
        return address <= kLastExpandedAddress ? FvbPrefixMatch {Kind::Prefix, address, 1}
                                               : FvbPrefixMatch {Kind::Invalid, 0, 1};
    }
    if (first == kSuperExpandedMark) {
        if (bytes.size() < 2) {
            return {Kind::NeedMore, 0, 2};
        }
        const uint8_t address = bytes[1];
        return address >= 1 && address <= kLastSuperExpandedAddress ? FvbPrefixMatch {Kind::Prefix, address, 2}
                                                                    : FvbPrefixMatch {Kind::Invalid, 0, 2};
    }
    return {Kind::NoPrefix, 0, 0};
}

} // namespace vorn::protocol
