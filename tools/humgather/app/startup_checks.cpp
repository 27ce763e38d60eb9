// The checks at start-up: software revision, the firmware address table, the PROM date, the
// communications check against the maker's notice, crystal speed and range.
#include <array>

#include "dialogues.h"
#include "protocol/factory_commands.h"
#include "vorn/humgather/firmware_addresses.h"

namespace vorn::humgather {

namespace {

void chooseAddressTable(Session& s)
{
    const AddressChoice choice = chooseFirmwareAddresses(s.settings.softwareRevision);
    if (choice.source == AddressSource::FixedTable) {
        s.settings.firmware = choice.fixed;
    } else if (choice.source == AddressSource::AskUnit) {
        std::array<std::uint16_t, kVariableTableEntries> entries {};
        for (int k = 0; k < kVariableTableEntries; ++k) {
            s.link.sendByte(protocol::addressTableRequest(static_cast<std::size_t>(k)));
            entries[static_cast<std::size_t>(k)] = s.link.receiveWord().unsignedValue;
        }
        s.settings.firmware = addressesFromUnitTable(entries);
    }
}

void showPromDate(Session& s)
{
    const std::uint16_t base = s.settings.firmware.promDateBase;
    std::string text = "prom date   ";
    for (int i = 2; i <= 4; ++i) {
        if (i > 2)
            text += "/";
        text += std::to_string(s.link.readMemoryByte(static_cast<std::uint16_t>(base + i), MemorySpace::Prom));
    }
    s.console.printLine(text);
}

void checkCommunications(Session& s)
{
    std::string read;
    for (std::size_t i = 0; i < kPromReadLength; ++i)
        read.push_back(static_cast<char>(
            s.link.readMemoryByte(static_cast<std::uint16_t>(kPromTextAddress + i), MemorySpace::Prom)));
    if (promTextPart(read) == s.notices.promText) {
        s.console.printLine("** RS-232C COMMUNICATIONS WITH VORN IS OK**");
        s.console.printLine("   " + read);
        return;
    }
    s.console.printLine("** RS-232C COMMUNICATIONS WITH VORN IS BAD **");
    s.console.printLine("READ THE FOLLOWING STRING");
    s.console.printLine(read);
    s.console.printLine("STRING SHOULD HAVE BEEN");
    s.console.printLine(s.notices.promText);
}

} // namespace

void runStartupChecks(Session& s)
{
    s.console.clearScreen();
    s.link.sendByte(protocol::kRawSampleModeReset);
    examineValue(s, 1);
    chooseAddressTable(s);
    showPromDate(s);
    checkCommunications(s);
    examineValue(s, 2);
    examineValue(s, 3);
    s.waitForKey();
    s.console.printLine();
    s.settings.fullScaleVolts = s.settings.softwareRevision < 2.0f ? 2.5f : 5.0f;
}

} // namespace vorn::humgather
