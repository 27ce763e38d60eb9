#include "options/system_options_command.h"

#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "options/system_options_dialog.h"
#include "shell/library_busy.h"
#include "shell/message_boxes.h"

#include <mutex>

namespace vornscope {

void SystemOptionsCommand::run()
{
    CVornscopeDoc& document = *view_.document();
    CVornGroup* group = document.group();
    if (!view_.state().setUp || group == nullptr) {
        refuseNotSetUp();
        return;
    }
    AcquisitionSettings settings {document.samplesPerPoint(), view_.showTimes};
    SystemOptionsValues read;
    {
        std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        read = readSystemOptions(programLibrary(), *group, settings);
    }
    SystemOptionsDialog dialog(read, &view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::optional<std::string> refused;
    {
        std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        refused = applySystemOptions(programLibrary(), *group, read, dialog.values(), settings);
    }
    if (refused)
        messageSink().show(*refused, "", MessageIcon::Exclamation, MessageButtons::Ok);
    document.setSamplesPerPoint(settings.samplesPerPoint);
    view_.showTimes = settings.showTimes;
    view_.clearView();
}

} // namespace vornscope
