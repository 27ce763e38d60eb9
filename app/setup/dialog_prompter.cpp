#include "setup/dialog_prompter.h"

#include "document/vornscope_view.h"
#include "setup/setup_dialogs.h"

namespace vornscope {
namespace {

// Shows a dialog modally and copies its values back when it is accepted.
template <typename Dialog, typename Values, typename Get> bool ask(QWidget* parent, Values& values, Get get)
{
    Dialog dialog(values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = (dialog.*get)();
    return true;
}

} // namespace

bool DialogPrompter::askRs232(Rs232SetupValues& values)
{
    return ask<Rs232SetupDialog>(&view_, values, &Rs232SetupDialog::values);
}

bool DialogPrompter::askIsa(IsaSetupValues& values)
{
    return ask<IsaSetupDialog>(&view_, values, &IsaSetupDialog::values);
}

bool DialogPrompter::askTcpip(TcpipSetupValues& values)
{
    return ask<TcpipSetupDialog>(&view_, values, &TcpipSetupDialog::values);
}

bool DialogPrompter::askUnit(const UnitDialogLook& look, UnitEntry& entry)
{
    UnitDialog dialog(look, entry, &view_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.entry();
    return true;
}

void DialogPrompter::showStatus(const char* text)
{
    // The wake-up replaces the group: what the old one measured leaves the screen.
    view_.clearView();
    view_.showStatusLine(text);
}

} // namespace vornscope
