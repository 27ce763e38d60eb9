#include "core/transmitter_mode.h"

#include "core/unit_channel.h"

namespace vornscope {

std::optional<std::string> transmitterModeRefusal(std::string_view model, int mode)
{
    if (model == "6DKVS     " && mode == kNonPulsed)
        return "The pellVORN cannot be set to non-pulsed mode";
    if ((model == "PELLVORN2 " || model == "PELLVORN2R" || model == "PELLVORN2X") && mode != kCoolDown)
        return "The dualISA can only be run in Cool-Down mode";
    if (model == "PCVORN    " && mode == kNonPulsed)
        return "The pcVORN should not be run in non-pulsed mode";
    return std::nullopt;
}

TransmitterModeResult setTransmitterMode(VornLibrary& library, CVornGroup& group, int mode)
{
    if (!group.takesUnitCommands() || group.deviceCount < 1)
        return {};
    int driver = 0;
    for (int unit = 1; unit <= group.deviceCount; ++unit) {
        library.getDeviceConfig(group.groupId, unit, group.deviceConfig[unit]);
        if (group.deviceConfig[unit].status & 0x01)
            driver = unit;
    }
    if (driver == 0)
        return {};
    UnitChannel channel(library, group.groupId, group.transport);
    const auto model = channel.modelString(driver);
    if (!model)
        return {};
    if (auto refusal = transmitterModeRefusal(*model, mode))
        return {false, *refusal};
    return {channel.change(1, unit_parameter::kTransmitterMode, static_cast<std::uint8_t>(mode)), {}};
}

} // namespace vornscope
