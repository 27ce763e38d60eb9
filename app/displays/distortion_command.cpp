#include "displays/distortion_command.h"

#include "acquisition/acquisition_hub.h"
#include "core/command_ids.h"
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
    // A running thread reads with the frame source chosen at its start: it
    // restarts below with the one that matches the new setting.
    const bool restartStream = view_.state().streaming;
    if (restartStream)
        view_.acquisition().stop();
    {
        const std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        UnitChannel channel(programLibrary(), group->groupId, group->transport);
        applyDistortionChoice(channel, *group, choice);
    }
    view_.state().distortionOn = choice.on;
    view_.showDistortion(choice.on);
    if (restartStream) {
        view_.state().streaming = false;
        view_.onCommand(ID_STREAM);
    }
}

} // namespace vornscope
