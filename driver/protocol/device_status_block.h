// The networked controller's 70-byte status block of one unit (after a 16-byte header).
#pragma once

#include "protocol/decode_result.h"

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <span>

namespace vorn::protocol {

inline constexpr std::size_t kDeviceStatusBlockBytes = 70;

// The block a set sends for `config`; byte 6 carries the format in bits 0-3 and its
// word count in bits 4-7.
std::array<uint8_t, kDeviceStatusBlockBytes> encodeDeviceStatusBlock(const VornDeviceConfig& config);

// Copies the block's fields into `config` (the format from the low nibble of byte 6);
// fields the block does not carry are left as they are. Needs 70 bytes.
DecodeResult decodeDeviceStatusBlock(std::span<const uint8_t> bytes, VornDeviceConfig& config);

} // namespace vorn::protocol
