#include "unit/memory_map.h"

#include <algorithm>
#include <cstdio>

namespace vorn::sim {

namespace {

constexpr std::size_t kMemorySize = 0x10000;
constexpr uint8_t kErasedProm = 0xFF;
constexpr std::size_t kIdentificationLength = MemoryMap::kPromTextLength - PromConfig::kNoticeLength;

constexpr uint16_t kFirstRevisionWithTable = 0x0312; // 3.18

// Where the firmware of each generation keeps the receiver multiplexer byte.
uint16_t fixedMuxAddress(uint16_t revision)
{
    if (revision < 0x0246) { // below 2.70
        return 0x0207;
    }
    if (revision < 0x0300) {
        return 0x022B;
    }
    return 0x01B4;
}

// The variable address table of the 3.18 and later firmware: entry 6 (index 5) is the
// receiver multiplexer byte, entry 15 the PROM date base, entry 18 the ALPHA value.
constexpr std::array<uint16_t, MemoryMap::kAddressTableEntries> kAddressTable = {
    0x0180, 0x0184, 0x0188, 0x018C, 0x0190, 0x01C6, 0x01D0, 0x01D8, 0x01E0, 0x01E8,
    0x0200, 0x0210, 0x0220, 0x0230, 0x7FE0, 0x0238, 0x023C, 0x0240, 0x0250, 0x0260,
};
constexpr std::size_t kMuxEntry = 5;
constexpr std::size_t kPromDateEntry = 14;
constexpr std::size_t kAlphaEntry = 17;
constexpr uint16_t kAlphaAtPowerUp = 16384; // 0.5

} // namespace

MemoryMap::MemoryMap(const PromConfig& prom, uint16_t softwareRevision)
    : revision_(softwareRevision),
      receiverMuxAddress_(softwareRevision >= kFirstRevisionWithTable ? kAddressTable[kMuxEntry]
                                                                      : fixedMuxAddress(softwareRevision)),
      ram_(kMemorySize, 0), prom_(kMemorySize, kErasedProm)
{
    buildProm(prom);
    reset();
}

void MemoryMap::buildProm(const PromConfig& prom)
{
    char identification[32];
    std::snprintf(identification, sizeof identification, "Vorn rev %u.%02u", revision_ >> 8u, revision_ & 0xFFu);
    std::string text(identification);
    text.resize(kIdentificationLength, ' ');
    std::string notice = prom.notice;
    notice.resize(PromConfig::kNoticeLength, ' ');
    text += notice;
    std::copy(text.begin(), text.end(), prom_.begin() + kPromTextAddress);
    const uint16_t dateBase = promDateBase();
    for (std::size_t i = 0; i < prom.date.size(); ++i) {
        prom_[static_cast<uint16_t>(dateBase + 2 + i)] = prom.date[i];
    }
}

void MemoryMap::reset()
{
    std::fill(ram_.begin(), ram_.end(), 0);
    if (addressTableEntry(kAlphaEntry)) {
        const uint16_t alpha = kAddressTable[kAlphaEntry];
        ram_[alpha] = static_cast<uint8_t>(kAlphaAtPowerUp);
        ram_[static_cast<uint16_t>(alpha + 1)] = static_cast<uint8_t>(kAlphaAtPowerUp >> 8);
    }
}

uint16_t MemoryMap::ramWord(uint16_t address) const
{
    return static_cast<uint16_t>(ram_[address] | ram_[static_cast<uint16_t>(address + 1)] << 8);
}

std::optional<uint16_t> MemoryMap::addressTableEntry(std::size_t k) const
{
    if (revision_ < kFirstRevisionWithTable || k >= kAddressTable.size()) {
        return std::nullopt;
    }
    return kAddressTable[k];
}

uint16_t MemoryMap::promDateBase() const
{
    // Older firmware keeps its date where the table's firmware does; only the table is new.
    return kAddressTable[kPromDateEntry];
}

} // namespace vorn::sim
