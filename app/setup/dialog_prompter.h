// The setup flow's dialogs, shown as real modal dialogs over the view.
#pragma once

#include "core/setup_flow.h"
#include "document/vornscope_view.h"
#include "setup/wake_wait.h"

namespace vornscope {

class DialogPrompter final : public SetupPrompter {
public:
    explicit DialogPrompter(CVornscopeView& view) : view_(view), wait_(&view) {}

    bool askRs232(Rs232SetupValues& values) override;
    bool askIsa(IsaSetupValues& values) override;
    bool askTcpip(TcpipSetupValues& values) override;
    bool askUnit(const UnitDialogLook& look, UnitEntry& entry) override;
    void showStatus(const char* text) override;
    void beginWait() override { wait_.begin(); }
    void endWait() override { wait_.end(); }
    bool waitCancelled() override { return wait_.cancelled(); }

private:
    CVornscopeView& view_;
    WakeWait wait_;
};

} // namespace vornscope
