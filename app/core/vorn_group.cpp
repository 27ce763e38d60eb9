#include "core/vorn_group.h"

namespace vornscope {

int CVornGroup::firstTransmitterUnit() const
{
    for (int unit = 1; unit <= deviceCount; ++unit)
        if (hasTransmitter[unit])
            return unit;
    return 0;
}

int CVornGroup::firstDistortionUnit() const
{
    for (int unit = 1; unit <= deviceCount; ++unit)
        if (distortionParams[unit].supported)
            return unit;
    return 0;
}

std::vector<int> CVornGroup::presentUnits() const
{
    std::vector<int> units;
    for (int unit = 1; unit <= deviceCount; ++unit)
        if (sensorPresent[unit])
            units.push_back(unit);
    return units;
}

} // namespace vornscope
