#include "setup/setup_command.h"

#include "core/model_codes.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "setup/dialog_prompter.h"
#include "shell/message_boxes.h"

#include <mutex>

namespace vornscope {

void SetupCommand::run(Transport link)
{
    CVornscopeDoc& document = *view_.document();
    // Stop before replacing: every mode ends as leaving it does (animate
    // gives the formats back) while the old group is still awake, and no
    // thread holds on to it when the setup shuts it down.
    document.session().release();
    view_.notifyStateChanged();

    LibVorn library;
    DialogPrompter prompter(view_);
    SetupFlow flow(library, prompter, messageSink(), document.groupId());
    SetupResult result;
    {
        // No acquisition thread may talk to the units while the group changes.
        std::lock_guard lock(*view_.mutex());
        switch (link) {
        case Transport::RS232: result = flow.runRs232(); break;
        case Transport::ISA: result = flow.runIsa(); break;
        case Transport::TCPIP: result = flow.runTcpip(view_.serverAddress); break;
        }
    }
    if (result.attempted) {
        document.session().adopt(std::move(result.group), result.setUp);
        ViewState& state = view_.state();
        state.setUp = result.setUp;
        state.unit1SupportsDistortion = false;
        const CVornGroup* group = document.group();
        if (result.setUp && group != nullptr && group->deviceCount >= 1)
            state.unit1SupportsDistortion = group->distortionParams[1].supported;
        view_.distortionSensor = result.distortionSensor;
    }
    if (result.showComplete)
        view_.showStatusLine(text::kSetupComplete);
    view_.notifyStateChanged();
}

} // namespace vornscope
