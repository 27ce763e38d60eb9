#include "shell/library_busy.h"

#include <vorn/vorn_host.h>

#include <QApplication>
#include <QThread>

namespace vornscope {
namespace {

int callsInProgress = 0; // the user-interface thread's only

void paintOnly(void*)
{
    // Acquisition threads call the library too; only this thread paints.
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
}

} // namespace

bool libraryCallInProgress()
{
    return callsInProgress > 0;
}

LibraryCallScope::LibraryCallScope()
{
    ++callsInProgress;
}

LibraryCallScope::~LibraryCallScope()
{
    --callsInProgress;
}

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
