#include "vorn/humgather/position_record.h"

namespace vorn::humgather {

std::size_t recordLength(int extraBytes, bool groupMode) {
    return 2 * kRecordWords + static_cast<std::size_t>(extraBytes) + (groupMode ? 1 : 0);
}

PhasingFault checkPhasing(std::span<const std::uint8_t> record) {
    for (std::size_t i = 0; i < kRecordWords && 2 * i < record.size(); ++i) {
        const bool phasing = (record[2 * i] & 0x80) != 0;
        if (i == 0 && !phasing) return PhasingFault::FirstWord;
        if (i > 0 && phasing) return PhasingFault::LaterWord;
    }
    return PhasingFault::None;
}

PositionRecord decodeRecord(std::span<const std::uint8_t> record, int extraBytes, bool groupMode) {
    PositionRecord out;
    if (record.size() < recordLength(extraBytes, groupMode)) return out;
    for (std::size_t i = 0; i < kRecordWords; ++i) {
        const unsigned value = (record[2 * i] & 0x7Fu) * 4u + record[2 * i + 1] * 512u;
        out.words[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    std::size_t next = 2 * kRecordWords;
    if (extraBytes > 0) out.extra = record[next++];
    if (groupMode) out.address = record[next];
    return out;
}

std::optional<std::uint8_t> humgatherPrefix(bool multipleVornsets, bool expandedPrefixes, int address) {
    if (!multipleVornsets || address == 0) return std::nullopt;
    if (expandedPrefixes && address >= 16) return static_cast<std::uint8_t>(0xE0 + (address - 16));
    return static_cast<std::uint8_t>(0xF0 + address);
}

}  // namespace vorn::humgather
