#include "core/setup_values.h"

namespace vornscope {

UnitDialogSpec unitDialogSpec(Transport link, int deviceCount, int unit)
{
    const bool isa = link == Transport::ISA;
    UnitDialogSpec spec;
    spec.unit = unit;
    spec.title = "Device " + std::to_string(unit);
    spec.label = isa ? "Base Address (dec)" : "Com Port";
    if (deviceCount == 1) {
        spec.editDefault = isa ? 512 : 1;
        spec.firstCaption = isa ? "Not StandAlone (1)" : "Not Standalone (1)";
        spec.secondCaption = isa ? "StandAlone (0)" : "Standalone (0)";
        spec.firstSelected = true;
        spec.editAlwaysEnabled = true;
        return spec;
    }
    spec.firstCaption = "&Direct";
    spec.secondCaption = "&FVB accessible";
    spec.firstSelected = unit == 1;
    spec.editDefault = unit == 1 ? (isa ? 512 : 1) : 0;
    return spec;
}

UnitEntry defaultUnitEntry(const UnitDialogSpec& spec)
{
    return UnitEntry{spec.editDefault, spec.firstSelected};
}

bool unitEditEnabled(const UnitDialogSpec& spec, bool firstSelected)
{
    return firstSelected || spec.editAlwaysEnabled;
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
