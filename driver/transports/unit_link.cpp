#include "transports/unit_link.h"

#include "group/group.h"

namespace vorn {

UnitLink* unitLinkOf(VornGroup& group)
{
    return dynamic_cast<UnitLink*>(group.transport.get());
}

} // namespace vorn
