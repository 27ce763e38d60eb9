#include "shell/library_busy.h"

#include <vorn/vorn_host.h>

#include <QApplication>

namespace vornscope {
namespace {

void paintOnly(void*)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
}

} // namespace

LibraryBusy::LibraryBusy()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    vornHostSetPumpHook(&paintOnly, nullptr);
}

LibraryBusy::~LibraryBusy()
{
    vornHostSetPumpHook(nullptr, nullptr);
    QApplication::restoreOverrideCursor();
}

} // namespace vornscope
