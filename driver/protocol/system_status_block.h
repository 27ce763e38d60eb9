// The networked controller's 136-byte system status block (after a 16-byte header).
#pragma once

#include "protocol/decode_result.h"

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <span>

namespace vorn::protocol {

inline constexpr std::size_t kSystemStatusBlockBytes = 136;
inline constexpr std::size_t kControllerUnitEntries = 120; // unit status of addresses 1..120

struct SystemStatusBlock {
    uint8_t systemStatus = 0;
    uint8_t errorCode = 0;
    uint8_t numberOfUnits = 0;
    uint8_t controllerField1 = 0;
    uint8_t transmitter = 0;
    double measurementRate = 0.0;
    uint8_t controllerField2 = 0;
    uint8_t controllerField3 = 0;
    uint8_t controllerField4 = 0;
    uint16_t softwareRevision = 0;
    std::array<uint8_t, kControllerUnitEntries> unitStatus {}; // entry i is address i + 1
};

// The block a set sends for `config` (its unitStatus entries 1..120).
SystemStatusBlock systemStatusBlockOf(const VornSystemConfig& config);

// The rate travels as six ASCII digits of rate x 1000 rounded ("%06ld"). Rates that
// do not fit (negative, not a number, 1000 Hz or more) are clamped to 0 and 999.999 so
// the field never spills into its neighbours.
std::array<uint8_t, 6> measurementRateDigits(double rate);

std::array<uint8_t, kSystemStatusBlockBytes> encodeSystemStatusBlock(const SystemStatusBlock& block);

// Needs 136 bytes; a rate field with a non-digit is BadRateDigits.
DecodeResult decodeSystemStatusBlock(std::span<const uint8_t> bytes, SystemStatusBlock& block);

} // namespace vorn::protocol
