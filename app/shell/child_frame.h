// CChildFrame: the frame of one document's view inside the main window.
#pragma once

#include <QMdiSubWindow>

namespace vornscope {

class CVornscopeDoc;
class CVornscopeView;

class CChildFrame final : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(const QString& title, QWidget* parent = nullptr);
    ~CChildFrame() override;
    CVornscopeDoc* document() const { return document_; }
    CVornscopeView* view() const { return view_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CVornscopeDoc* document_;
    CVornscopeView* view_;
};

} // namespace vornscope
