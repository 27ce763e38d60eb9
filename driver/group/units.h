// The group's unit addresses: where the master is, how far the addresses
// run, and what a caller's address reaches. The one home of the rule "unit 0
// when stand-alone, else 1".
#pragma once

#include "group/group.h"

#include <algorithm>

namespace vorn {

// The unit that commands for the whole group go to: 0 for a stand-alone
// unit, else 1, the master on the bus.
inline int masterUnit(const VornGroup& group)
{
    return group.standAlone ? 0 : 1;
}

// The group's addresses in order run from the master to lastUnit: 0 alone,
// or 1..N with N the unit count (at most 126).
inline int firstUnit(const VornGroup& group)
{
    return masterUnit(group);
}

inline int lastUnit(const VornGroup& group)
{
    return group.standAlone ? 0 : std::min<int>(group.systemConfig.numberOfUnits, VORN_UNIT_COUNT - 1);
}

// The unit a caller's address reaches: a stand-alone group has only unit 0.
// The frame applies it once, before a per-unit worker runs; the layers
// beneath take the address as given.
inline int effectiveUnit(const VornGroup& group, int unit)
{
    return group.standAlone ? 0 : unit;
}

} // namespace vorn
