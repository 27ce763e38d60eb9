#pragma once
// Where a unit's firmware keeps the values Humgather reaches into: fixed for older software
// revisions, read from the unit's own variable address table from revision 3.18 on.
#include <array>
#include <cstdint>

#include "protocol/factory_commands.h"

namespace vorn::humgather {

inline constexpr int kVariableTableEntries = static_cast<int>(protocol::kAddressTableEntries);

struct FirmwareAddresses {
    std::uint16_t receiverMux = 0;
    std::uint16_t promDateBase = 0;
    std::uint16_t alphaValue = 0;
};

enum class AddressSource { FixedTable, AskUnit, None };

struct AddressChoice {
    AddressSource source = AddressSource::None;
    FirmwareAddresses fixed; // for AddressSource::FixedTable
};

// The table for a software revision: three fixed tables below 3.18, the unit's own table from
// 3.18 on, and nothing for the revisions between the tables.
AddressChoice chooseFirmwareAddresses(float revision);

// The addresses out of the unit's table; entries[k] is the answer to request k.
FirmwareAddresses addressesFromUnitTable(const std::array<std::uint16_t, kVariableTableEntries>& entries);

} // namespace vorn::humgather
