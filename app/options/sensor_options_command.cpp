#include "options/sensor_options_command.h"

#include "core/sensor_options_apply.h"
#include "core/unit_channel.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "options/sensor_options_sheet.h"
#include "shell/library_busy.h"
#include "shell/message_boxes.h"

#include <mutex>

namespace vornscope {
void SensorOptionsCommand::run()
{
    CVornGroup* group = view_.document()->group();
    if (!view_.state().setUp || group == nullptr) {
        refuseNotSetUp();
        return;
    }
    LibVorn library;
    const std::vector<int> units = group->presentUnits();
    std::vector<SensorPageValues> pages;
    {
        std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        UnitChannel channel(library, group->groupId, group->transport);
        for (const int unit : units) {
            const auto frequency = channel.examineByte(unit, unit_parameter::kLineFrequency);
            pages.push_back(pageFromConfig(group->deviceConfig[static_cast<std::size_t>(unit)],
                                           group->systemConfig.transmitter,
                                           frequency ? *frequency : kLineFrequencyNotRead));
        }
    }

    SensorOptionsSheet sheet(pages, &view_);
    if (sheet.exec() != QDialog::Accepted)
        return;
    pages = sheet.pages();
    {
        std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        for (const auto& [unit, page] : planSensorPages(units, pages, group->deviceCount))
            applySensorPage(library, *group, unit, pages[page], view_.state().animating, messageSink());
    }
    // A running thread reads with the new formats and ranges.
    view_.modes().unitsChanged();
    view_.clearView();
}

} // namespace vornscope
