#include "core/setup_values.h"

namespace vornscope {

UnitDialogLook unitDialogLook(Transport link, int deviceCount, int unit)
{
    const bool isa = link == Transport::ISA;
    UnitDialogLook look;
    look.unit = unit;
    look.title = "Device " + std::to_string(unit);
    look.label = isa ? "Base Address (dec)" : "Com Port";
    if (deviceCount == 1) {
        look.editDefault = isa ? 512 : 1;
        look.firstCaption = isa ? "Not StandAlone (1)" : "Not Standalone (1)";
        look.secondCaption = isa ? "StandAlone (0)" : "Standalone (0)";
        look.firstSelected = true;
        look.editAlwaysEnabled = true;
        return look;
    }
    look.firstCaption = "&Direct";
    look.secondCaption = "&FVB accessible";
    look.firstSelected = unit == 1;
    look.editDefault = unit == 1 ? (isa ? 512 : 1) : 0;
    return look;
}

UnitEntry defaultUnitEntry(const UnitDialogLook& look)
{
    return UnitEntry {look.editDefault, look.firstSelected};
}

bool unitEditEnabled(const UnitDialogLook& look, bool firstSelected)
{
    return firstSelected || look.editAlwaysEnabled;
}

WakeTable buildWakeTable(const std::vector<UnitEntry>& entries)
{
    WakeTable table;
    const int count = entries.empty() ? 0 : static_cast<int>(entries.size()) - 1;
    table.entries.assign(entries.size() < 2 ? 2 : entries.size(), 0);
    for (int unit = 1; unit <= count; ++unit)
        table.entries[unit] = static_cast<std::uint16_t>(entries[unit].value);
    if (count == 1 && entries[1].firstSelected) {
        table.standAlone = 1;
        table.entries[0] = table.entries[1];
    }
    return table;
}

} // namespace vornscope
