// CMainFrame: the main window. It holds the documents' child frames, builds
// the menus and the tool bar from the command table, keeps every command's
// enabled and checked state current, and owns the status bar, the recent
// file list, dropped files, help and the about box.
#pragma once

#include <QMainWindow>

#include <map>

class QLabel;
class QMdiArea;
class QMenu;
class QMimeData;
class QToolBar;

namespace vornscope {

class CChildFrame;
class CVornscopeView;
class KeyIndicators;

class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CChildFrame* newDocument();
    CVornscopeView* activeView() const;
    QAction* action(int id) const;
    QToolBar* toolBar() const { return toolBar_; }
    QMdiArea* mdiArea() const { return mdi_; }

    // Runs a command as the menus and tool bar do.
    void onCommand(int id);
    void updateCommandUi();

    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void openFile(const QString& path);
    void openDropped(const QMimeData& dropped);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void rebuildRecentMenu();
    void openWithDialog();
    void showHelp();
    void showAbout();
    void watchView(CVornscopeView* view);

    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    KeyIndicators* indicators_ = nullptr;
    std::map<int, QAction*> actions_;
    int documentCount_ = 0;
};

} // namespace vornscope
