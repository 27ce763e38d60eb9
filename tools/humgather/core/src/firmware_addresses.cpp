#include "vorn/humgather/firmware_addresses.h"

namespace vorn::humgather {

namespace {
// The revision as a whole number of hundredths, so 3.17 and 3.18 compare exactly.
int hundredths(float revision)
{
    return static_cast<int>(revision * 100.0f + (revision >= 0 ? 0.5f : -0.5f));
}
} // namespace

AddressChoice chooseFirmwareAddresses(float revision)
{
    const int r = hundredths(revision);
    if (r <= 260)
        return {AddressSource::FixedTable, {0x207, 0, 0}};
    if (r >= 270 && r < 300)
        return {AddressSource::FixedTable, {0x22B, 0, 0}};
    if (r >= 300 && r <= 317)
        return {AddressSource::FixedTable, {0x1B4, 0, 0}};
    if (r >= 318)
        return {AddressSource::AskUnit, {}};
    return {};
}

FirmwareAddresses addressesFromUnitTable(const std::array<std::uint16_t, kVariableTableEntries>& entries)
{
    // Table entries are numbered from 1: entry 6 is the multiplexer, 15 the PROM date, 18 ALPHA.
    return {entries[5], entries[14], entries[17]};
}

} // namespace vorn::humgather
