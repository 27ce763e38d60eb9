#include "core/system_options.h"

#include "core/transmitter_mode.h"
#include "core/unit_channel.h"

#include <cstdio>

namespace vornscope {
namespace {

std::string rateText(double rate)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", rate);
    return text;
}

} // namespace

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

std::optional<std::string> setMeasurementRate(VornLibrary& library, CVornGroup& group, double rate)
{
    VornSystemConfig wanted = group.systemConfig;
    wanted.measurementRate = rate;
    library.takeFailure(); // an older message is not this call's
    if (library.setSystemConfig(group.groupId, wanted)) {
        group.systemConfig = wanted;
        return std::nullopt;
    }
    std::string message = "The units did not take the measurement rate " + rateText(rate) + ".";
    if (const std::string reason = library.takeFailure(); !reason.empty())
        message += "\n" + reason;
    return message + "\nThe rate stays " + rateText(group.systemConfig.measurementRate) + " per second.";
}

std::optional<std::string> applySystemOptions(VornLibrary& library, CVornGroup& group, const SystemOptionsValues& read,
                                              const SystemOptionsValues& chosen, AcquisitionSettings& settings)
{
    UnitChannel channel(library, group.groupId, group.transport);

    auto refused = setMeasurementRate(library, group, chosen.measurementRate);

    const auto selector = static_cast<std::uint8_t>(chosen.activeTransmitter * 16);
    if (channel.send(1, {unit_command::kNextTransmitter, selector, 0}))
        group.activeTransmitter = chosen.activeTransmitter;

    settings.samplesPerPoint = chosen.samplesPerPoint;
    settings.showTimes = chosen.showTimes;

    if (chosen.transmitterMode && chosen.transmitterMode != read.transmitterMode)
        setTransmitterMode(library, group, *chosen.transmitterMode); // a refusal is not shown

    if (chosen.transmitterOn != read.transmitterOn)
        channel.send(1, {chosen.transmitterOn ? unit_command::kRun : unit_command::kSleep});
    return refused;
}

} // namespace vornscope
