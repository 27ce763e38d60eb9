// A unit's memory as its test commands reach it: 64 KiB of RAM and of PROM. The PROM holds
// the firmware's identification text (with the maker's notice) from address 8 and the build
// date; units from revision 3.18 on also publish a table of their variables' RAM addresses,
// older ones keep their variables at addresses fixed per firmware generation.
#pragma once

#include "protocol/factory_commands.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn::sim {

struct PromConfig {
    // The maker's notice, exactly this many characters in the PROM (blank padded).
    static constexpr std::size_t kNoticeLength = protocol::kPromNoticeLength;
    std::string notice = "Copyright (c) Korvalt Inc.  All rights reserved";
    std::array<uint8_t, 3> date {3, 15, 97}; // month, day, year of the firmware build
};

class MemoryMap {
public:
    static constexpr uint16_t kPromTextAddress = protocol::kPromTextAddress;
    static constexpr std::size_t kPromTextLength = protocol::kPromTextLength; // identification, then the notice
    static constexpr std::size_t kAddressTableEntries = protocol::kAddressTableEntries;

    // `softwareRevision`: integer part in the high byte, hundredths in the low byte.
    MemoryMap(const PromConfig& prom, uint16_t softwareRevision);

    // RAM as the firmware sets it up at power-up.
    void reset();

    uint8_t ramByte(uint16_t address) const { return ram_[address]; }
    // Low byte at `address`, high byte at the next one.
    uint16_t ramWord(uint16_t address) const;
    void writeRam(uint16_t address, uint8_t value) { ram_[address] = value; }
    uint8_t promByte(uint16_t address) const { return prom_[address]; }

    // Entry k (0..19) of the variable address table; nullopt when the firmware has none.
    std::optional<uint16_t> addressTableEntry(std::size_t k) const;

    uint16_t receiverMuxAddress() const { return receiverMuxAddress_; }
    uint8_t receiverMux() const { return ram_[receiverMuxAddress_]; }
    uint16_t promDateBase() const;

private:
    void buildProm(const PromConfig& prom);

    uint16_t revision_;
    uint16_t receiverMuxAddress_;
    std::vector<uint8_t> ram_;
    std::vector<uint8_t> prom_;
};

} // namespace vorn::sim
