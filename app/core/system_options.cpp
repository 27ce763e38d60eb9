#include "core/system_options.h"

#include "core/transmitter_mode.h"
#include "core/unit_commands.h"

namespace vornscope {

SystemOptionsValues readSystemOptions(VornLibrary& library, CVornGroup& group, const AcquisitionSettings& settings)
{
    SystemOptionsValues values;
    values.measurementRate = group.systemConfig.measurementRate;
    values.samplesPerPoint = settings.samplesPerPoint;
    values.showTimes = settings.showTimes;
    for (int unit = 1; unit <= group.deviceCount; ++unit)
        if (group.hasTransmitter[unit])
            values.transmitterUnits.push_back(unit);
    if (group.activeTransmitter == 0)
        group.activeTransmitter = group.firstTransmitterUnit();
    values.activeTransmitter = group.activeTransmitter;

    if (group.takesUnitCommands() && group.deviceCount >= 1) {
        UnitChannel channel(library, group.groupId, group.transport);
        if (const auto mode = channel.examineByte(1, unit_parameter::kTransmitterMode); mode && *mode <= 2)
            values.transmitterMode = *mode;
    }
    for (int unit = 1; unit <= group.deviceCount; ++unit) {
        auto& config = group.deviceConfig[static_cast<std::size_t>(unit)];
        library.getDeviceConfig(group.groupId, unit, config);
        if (config.status & 0x40)
            values.transmitterOn = true;
    }
    return values;
}

void applySystemOptions(VornLibrary& library, CVornGroup& group, const SystemOptionsValues& read,
                        const SystemOptionsValues& chosen, AcquisitionSettings& settings)
{
    UnitChannel channel(library, group.groupId, group.transport);

    group.systemConfig.measurementRate = chosen.measurementRate;
    library.setSystemConfig(group.groupId, group.systemConfig);

    const auto selector = static_cast<std::uint8_t>(chosen.activeTransmitter * 16);
    if (channel.send(1, {unit_command::kNextTransmitter, selector, 0}))
        group.activeTransmitter = chosen.activeTransmitter;

    settings.samplesPerPoint = chosen.samplesPerPoint;
    settings.showTimes = chosen.showTimes;

    if (chosen.transmitterMode && chosen.transmitterMode != read.transmitterMode)
        setTransmitterMode(library, group, *chosen.transmitterMode);  // a refusal is not shown

    if (chosen.transmitterOn != read.transmitterOn)
        channel.send(1, {chosen.transmitterOn ? unit_command::kRun : unit_command::kSleep});
}

} // namespace vornscope
