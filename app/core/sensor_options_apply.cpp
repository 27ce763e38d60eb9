#include "core/sensor_options_apply.h"

#include "core/unit_channel.h"

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

void applySensorPage(VornLibrary& library, CVornGroup& group, int unit, const SensorPageValues& page, bool animating,
                     MessageSink& messages)
{
    const int id = group.groupId;
    VornDeviceConfig& config = group.deviceConfig[static_cast<std::size_t>(unit)];
    std::vector<std::string> refusals;
    auto refuse = [&refusals](std::string reason) {
        if (std::find(refusals.begin(), refusals.end(), reason) == refusals.end())
            refusals.push_back(std::move(reason));
    };
    // Each step changes a copy of the record; the group's record takes it
    // only when the unit does, so a refused value never looks accepted.
    auto write = [&](const auto& change) {
        VornDeviceConfig next = config;
        change(next);
        library.takeFailure();
        if (library.setDeviceConfig(id, unit, next)) {
            config = next;
            return;
        }
        const std::string reason = library.takeFailure();
        refuse(reason.empty() ? "The unit did not answer." : reason);
    };

    write([&](VornDeviceConfig& c) {
        for (std::size_t k = 0; k < 3; ++k)
            c.referenceFrame[k] = wordFromDegrees(page.referenceFrame[k]);
    });
    write([&](VornDeviceConfig& c) {
        for (std::size_t k = 0; k < 3; ++k)
            c.angleAlign[k] = wordFromDegrees(page.angleAlign[k]);
    });
    if (group.takesUnitCommands())
        library.getDeviceConfig(id, unit, config);

    if (page.formatIndex != kOtherFormat) {
        if (animating && page.formatIndex != kPositionMatrixIndex)
            messages.show(text::kAnimateFormat, "", MessageIcon::Exclamation, MessageButtons::Ok);
        else
            write([&](VornDeviceConfig& c) { c.dataFormat = formatCodeFromIndex(page.formatIndex); });
    }

    write([&](VornDeviceConfig& c) {
        setBits(c, page, {SetupBit::LargeChange, SetupBit::WideNotch, SetupBit::NarrowNotch, SetupBit::Dc});
    });
    write([&](VornDeviceConfig& c) { c.hemisphere = static_cast<std::uint8_t>(page.hemisphere); });

    if (page.range != kRangeNeverWritten)
        write([&](VornDeviceConfig& c) { c.scaling = static_cast<std::uint16_t>(page.range); });
    else if (config.scaling != kRangeNeverWritten)
        refuse(range144Refusal(config.scaling));

    write([&](VornDeviceConfig& c) { setBits(c, page, {SetupBit::XyzReference}); });
    write([&](VornDeviceConfig& c) { setBits(c, page, {SetupBit::ButtonData}); });
    write([&](VornDeviceConfig& c) {
        for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k)
            c.alphaMin[k] = wordFromAlpha(page.alphaMin[k]);
    });
    write([&](VornDeviceConfig& c) {
        for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k)
            c.alphaMax[k] = wordFromAlpha(page.alphaMax[k]);
    });
    write([&](VornDeviceConfig& c) {
        for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k)
            c.vm[k] = static_cast<std::uint16_t>(page.vm[k]);
    });
    if (page.lineFrequency != kLineFrequencyNotRead)
        UnitChannel(library, id, group.transport)
            .change(unit, unit_parameter::kLineFrequency, static_cast<std::uint8_t>(page.lineFrequency));

    if (!refusals.empty())
        messages.show(unitRefusalText(unit, refusals), "", MessageIcon::Exclamation, MessageButtons::Ok);
}

std::string range144Refusal(int currentRange)
{
    return "A Maximum Range of 144 belongs to extended-range systems, where the units fix it themselves; "
           "it cannot be written to this unit, so its range stays " +
           std::to_string(currentRange) + ".";
}

std::string unitRefusalText(int unit, const std::vector<std::string>& reasons)
{
    std::string text = "Unit " + std::to_string(unit) + " kept its old value for some sensor options:";
    for (const std::string& reason : reasons)
        text += "\n" + reason;
    return text;
}

} // namespace vornscope
