// The pass-through and line-control workers of the links that speak the
// units' command set, RS232 lines and ISA boards alike: the caller's bytes go
// to a unit as they are, and its answer comes back as it is.
#include "group/workers.h"
#include "transports/unit_link.h"

namespace vorn {

namespace {

// 1 when the group has a unit link and `act` succeeds on it.
template <typename Act> int onUnitLink(VornGroup& group, Act act)
{
    UnitLink* link = unitLinkOf(group);
    return link != nullptr && act(*link) ? 1 : 0;
}

} // namespace

int unitSendCommand(VornGroup& group, int unit, const unsigned char* bytes, uint16_t count)
{
    return onUnitLink(group, [&](UnitLink& link) { return link.send(group, unit, std::span(bytes, count)); });
}

int unitGetResponse(VornGroup& group, int unit, unsigned char* bytes, uint16_t count)
{
    return onUnitLink(group, [&](UnitLink& link) { return link.getResponse(group, unit, std::span(bytes, count)); });
}

int unitClearBuffer(VornGroup& group, int unit)
{
    return onUnitLink(group, [&](UnitLink& link) { return link.clearBuffer(group, unit); });
}

int unitResynch(VornGroup& group)
{
    return onUnitLink(group, [&](UnitLink& link) { return link.resynchronise(group); });
}

int unitReset(VornGroup& group)
{
    return onUnitLink(group, [&](UnitLink& link) { return link.reset(group); });
}

} // namespace vorn
