#include "core/distortion_settings.h"

namespace vornscope {
namespace {

constexpr std::uint8_t kDistortionCommand = 0x73; // 's'
constexpr std::uint8_t kFieldOff = 0;
constexpr std::uint8_t kFieldOnWithDefaults = 1;
constexpr std::uint8_t kFirstValueField = 2;

int& paramOf(DistortionParams& params, std::size_t field)
{
    switch (field) {
    case 0: return params.sensitivity;
    case 1: return params.offset;
    case 2: return params.slope;
    default: return params.alpha;
    }
}

bool sendSetting(UnitChannel& channel, int unit, std::uint8_t field, int value)
{
    return channel.send(unit, {kDistortionCommand, field, static_cast<std::uint8_t>(value)});
}

} // namespace

bool readDistortionRecord(UnitChannel& channel, int unit, DistortionParams& params)
{
    const auto record = channel.examine(unit, unit_parameter::kMetalDetection, 10);
    if (!record)
        return false;
    params.enabled = (*record)[0] != 0;
    params.sensitivity = (*record)[2];
    params.offset = (*record)[4];
    params.slope = (*record)[6];
    params.alpha = (*record)[8];
    return true;
}

void applyDistortionChoice(UnitChannel& channel, CVornGroup& group, const DistortionChoice& choice)
{
    if (!channel.available())
        return;
    for (int unit = 1; unit <= group.deviceCount; ++unit) {
        DistortionParams& params = group.distortionParams[static_cast<std::size_t>(unit)];
        if (!params.supported)
            continue;
        if (!choice.on) {
            if (sendSetting(channel, unit, kFieldOff, 0))
                params.enabled = false;
            continue;
        }
        bool anyEdited = false;
        for (std::size_t field = 0; field < choice.edited.size(); ++field) {
            if (!choice.edited[field])
                continue;
            anyEdited = true;
            const auto code = static_cast<std::uint8_t>(kFirstValueField + field);
            if (sendSetting(channel, unit, code, choice.values[field])) {
                params.enabled = true;
                paramOf(params, field) = choice.values[field];
            }
        }
        if (!anyEdited && sendSetting(channel, unit, kFieldOnWithDefaults, 0)) {
            readDistortionRecord(channel, unit, params);
            params.enabled = true;
        }
    }
}

} // namespace vornscope
