#include "displays/distortion_command.h"

#include "acquisition/acquisition_modes.h"
#include "core/distortion_settings.h"
#include "displays/distortion_dialog.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "shell/library_busy.h"
#include "shell/message_boxes.h"

#include <mutex>

namespace vornscope {

void DistortionCommand::run()
{
    CVornGroup* group = view_.document()->group();
    if (!view_.state().setUp || group == nullptr) {
        refuseNotSetUp();
        return;
    }
    CVornGroup snapshot = *group;
    {
        const std::lock_guard lock(*view_.mutex());
        snapshot = *group;
    }
    const int preselected = view_.distortionSensor > 0 ? view_.distortionSensor : group->firstDistortionUnit();
    DistortionDialog dialog(snapshot, preselected, view_.state().distortionOn, &view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    view_.distortionSensor = dialog.chosenUnit();
    DistortionChoice choice;
    choice.on = !dialog.stopPressed();
    choice.edited = dialog.edited();
    choice.values = dialog.values();
    {
        const std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        UnitChannel channel(programLibrary(), group->groupId, group->transport);
        applyDistortionChoice(channel, *group, choice);
    }
    view_.state().distortionOn = choice.on;
    view_.showDistortion(choice.on);
    // A running thread goes on with the frame source that matches the new setting.
    view_.modes().unitsChanged();
}

} // namespace vornscope
