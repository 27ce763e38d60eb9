#include "shell/child_frame.h"

#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "shell/drawn_icons.h"
#include "shell/library_busy.h"

#include <QCloseEvent>

namespace vornscope {

CChildFrame::CChildFrame(const QString& title, QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    document_ = new CVornscopeDoc(this);
    view_ = new CVornscopeView(document_);
    setWidget(view_);
    setWindowTitle(title);
    setWindowIcon(applicationIcon());
    resize(640, 420);
}

CChildFrame::~CChildFrame()
{
    // The view shuts its group down as it goes and reads the document for
    // that, so it goes first; children would otherwise die in creation order.
    delete view_;
}

} // namespace vornscope

namespace vornscope {

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // The command waiting in the library still uses this document and view.
    if (libraryCallInProgress()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace vornscope
