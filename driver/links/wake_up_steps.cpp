#include "links/wake_up_steps.h"

#include "config/unit_commands.h"
#include "group/units.h"
#include "platform/pump_wait.h"
#include "protocol/parameters.h"

namespace vorn {

namespace {
constexpr uint32_t kBeforeAutoConfigMs = 100;
constexpr uint32_t kAfterAutoConfigMs = 1000;
} // namespace

void prepareUnitGroup(VornGroup& group, ConnectionMode mode, bool standAlone, int numberOfUnits, uint32_t readTimeoutMs,
                      uint32_t writeTimeoutMs)
{
    group.mode = mode;
    group.standAlone = standAlone;
    group.readTimeoutMs = readTimeoutMs;
    group.writeTimeoutMs = writeTimeoutMs;
    group.systemConfig.numberOfUnits = static_cast<uint8_t>(standAlone ? 1 : numberOfUnits);
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit) {
        group.deviceConfig[static_cast<std::size_t>(unit)].reportRate = 1;
        group.deviceConfig[static_cast<std::size_t>(unit)].hemisphere = 0;
    }
}

bool autoConfigure(VornGroup& group, UnitLink& link, int numberOfUnits)
{
    if (!platform::PumpWait::forMilliseconds(kBeforeAutoConfigMs))
        return false;
    UnitCommands master(group, link, masterUnit(group), UnitCommands::Naming::Master);
    if (!master.changeValue(protocol::toByte(protocol::Parameter::FvbAutoConfiguration),
                            static_cast<uint16_t>(numberOfUnits), "\"auto config\" command"))
        return false;
    return platform::PumpWait::forMilliseconds(kAfterAutoConfigMs);
}

} // namespace vorn
