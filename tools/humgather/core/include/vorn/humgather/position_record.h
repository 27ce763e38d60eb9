#pragma once
// A position/angles record as Humgather reads it: six words packed 7 bits to the byte with the
// phasing bit on the first byte, then the metal-detection byte and the group-mode address when
// those are on. Also the FVB prefix Humgather puts before a command for a unit behind the master.
// The wire facts themselves live in the shared protocol codecs; this is Humgather's view of them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vorn::humgather {

inline constexpr int kRecordWords = 6;

struct PositionRecord {
    std::array<std::int16_t, kRecordWords> words {};
    std::uint8_t extra = 0;   // metal detection byte, 0 when absent
    std::uint8_t address = 0; // group-mode address, 0 when absent
};

std::size_t recordLength(int extraBytes, bool groupMode);

// Which phasing test fails: None, the first word's byte (bit 7 clear) or a later word's (bit 7 set).
enum class PhasingFault { None, FirstWord, LaterWord };
PhasingFault checkPhasing(std::span<const std::uint8_t> record);

// The words of a record whose phasing is right, unpacked as every RS232 reader does.
PositionRecord decodeRecord(std::span<const std::uint8_t> record, int extraBytes, bool groupMode);

// The prefix for the current address: none standalone or for address 0, else the one-byte FVB
// prefix of normal addressing, or of expanded addressing with expanded prefixes. None either for
// an address those prefixes cannot name (16 and above without expanded prefixes).
std::optional<std::uint8_t> humgatherPrefix(bool multipleVornsets, bool expandedPrefixes, int address);

} // namespace vorn::humgather
