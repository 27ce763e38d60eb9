#include "core/sensor_options_apply.h"

#include "core/unit_commands.h"

#include <algorithm>

namespace vornscope {

std::vector<PageAssignment> planSensorPages(const std::vector<int>& presentUnits,
                                            const std::vector<SensorPageValues>& pages, int deviceCount)
{
    std::vector<PageAssignment> plan;
    const std::size_t count = std::min(presentUnits.size(), pages.size());
    for (std::size_t i = 0; i < count; ++i) {
        const int unit = presentUnits[i];
        plan.push_back({unit, i});
        if (pages[i].configureAllAfter) {
            for (int later = unit + 1; later <= deviceCount; ++later)
                plan.push_back({later, i});
            break;
        }
    }
    return plan;
}

namespace {

void setBits(VornDeviceConfig& config, const SensorPageValues& page, std::initializer_list<SetupBit> bits)
{
    for (const auto& entry : setupBits()) {
        if (std::find(bits.begin(), bits.end(), entry.which) == bits.end())
            continue;
        if (page.bit(entry.which))
            config.setup |= entry.mask;
        else
            config.setup &= static_cast<std::uint8_t>(~entry.mask);
    }
}

} // namespace

void applySensorPage(VornLibrary& library, CVornGroup& group, int unit, const SensorPageValues& page,
                     bool animating, MessageSink& messages)
{
    const int id = group.groupId;
    VornDeviceConfig& config = group.deviceConfig[static_cast<std::size_t>(unit)];
    auto write = [&] { library.setDeviceConfig(id, unit, config); };

    for (std::size_t k = 0; k < 3; ++k)
        config.referenceFrame[k] = wordFromDegrees(page.referenceFrame[k]);
    write();
    for (std::size_t k = 0; k < 3; ++k)
        config.angleAlign[k] = wordFromDegrees(page.angleAlign[k]);
    write();
    if (group.takesUnitCommands())
        library.getDeviceConfig(id, unit, config);

    if (page.formatIndex != kOtherFormat) {
        if (animating && page.formatIndex != kPositionMatrixIndex) {
            messages.show(text::kAnimateFormat, "", MessageIcon::Exclamation, MessageButtons::Ok);
        } else {
            config.dataFormat = formatCodeFromIndex(page.formatIndex);
            write();
        }
    }

    setBits(config, page, {SetupBit::LargeChange, SetupBit::WideNotch, SetupBit::NarrowNotch, SetupBit::Dc});
    write();
    config.hemisphere = static_cast<std::uint8_t>(page.hemisphere);
    write();

    if (page.range != kRangeNeverWritten) {
        config.scaling = static_cast<std::uint16_t>(page.range);
        write();
    }

    setBits(config, page, {SetupBit::XyzReference});
    write();
    setBits(config, page, {SetupBit::ButtonData});
    write();
    for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k)
        config.alphaMin[k] = wordFromAlpha(page.alphaMin[k]);
    write();
    for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k)
        config.alphaMax[k] = wordFromAlpha(page.alphaMax[k]);
    write();
    for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k)
        config.vm[k] = static_cast<std::uint16_t>(page.vm[k]);
    write();
    UnitChannel(library, id, group.transport)
        .change(unit, unit_parameter::kLineFrequency, static_cast<std::uint8_t>(page.lineFrequency));
}

} // namespace vornscope
