#include "shell/main_frame.h"

#include "core/command_ids.h"
#include "core/command_table.h"
#include "datafiles/data_file_dialogs.h"
#include "document/vornscope_view.h"
#include "shell/about_dialog.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/drawn_icons.h"
#include "shell/help_window.h"
#include "shell/key_indicators.h"
#include "shell/library_busy.h"

#include <vorn/vorn.h>

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

// The help page is compiled into the static GUI library; register it once.
static void initialiseResources()
{
    Q_INIT_RESOURCE(vornscope);
}

namespace vornscope {
namespace {

QString withoutMnemonic(const char* text)
{
    QString plain = QString::fromLatin1(text);
    plain.remove(QLatin1Char('&'));
    return plain;
}

// Commands the frame carries out itself; all others go to the active view.
bool isFrameCommand(int id)
{
    return id == ID_FILE_NEW || id == ID_APP_EXIT || id == ID_HELP_TOPICS || id == ID_APP_ABOUT || id == ID_FILE_OPEN ||
           id == ID_OPEN_AND_GRAPH;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea)
{
    initialiseResources();
    setWindowTitle(QStringLiteral("Vornscope"));
    setWindowIcon(applicationIcon());
    setObjectName(QStringLiteral("CMainFrame"));
    setCentralWidget(mdi_);
    setAcceptDrops(true);
    mdi_->setViewMode(QMdiArea::SubWindowView);
    buildActions();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateCommandUi);
    resize(900, 640);
    updateCommandUi();
}

CMainFrame::~CMainFrame()
{
    // The base class closes the child windows after this object's members
    // are gone: nothing may call back into the frame from then on.
    mdi_->disconnect(this);
    for (CVornscopeView* view : findChildren<CVornscopeView*>())
        view->disconnect(this);
}

void CMainFrame::buildActions()
{
    for (const CommandEntry& entry : commandTable()) {
        auto* action = new QAction(QString::fromLatin1(entry.text), this);
        action->setData(entry.id);
        action->setObjectName(QStringLiteral("ID_%1").arg(entry.id));
        action->setStatusTip(withoutMnemonic(entry.prompt));
        action->setToolTip(withoutMnemonic(entry.prompt));
        action->setCheckable(entry.checked != nullptr);
        if (entry.toolBar)
            action->setIcon(commandIcon(entry.id));
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        actions_[entry.id] = action;
    }
    action(ID_FILE_NEW)->setShortcut(QKeySequence::New);
    action(ID_FILE_OPEN)->setShortcut(QKeySequence::Open);
    action(ID_FILE_SAVE)->setShortcut(QKeySequence::Save);
    action(ID_FILE_PRINT)->setShortcut(QKeySequence::Print);
    action(ID_HELP_TOPICS)->setShortcut(QKeySequence::HelpContents);
}

void CMainFrame::buildMenus()
{
    const std::pair<Menu, QString> menus[] = {
        {Menu::File, QStringLiteral("&File")},          {Menu::SetUp, QStringLiteral("&SetUp")},
        {Menu::TakeData, QStringLiteral("&Take Data")}, {Menu::Options, QStringLiteral("&Options")},
        {Menu::View, QStringLiteral("&View")},          {Menu::Help, QStringLiteral("&Help")},
    };
    for (const auto& [which, title] : menus) {
        if (which == Menu::Help) {
            QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
            window->addAction(QStringLiteral("&Cascade"), mdi_, &QMdiArea::cascadeSubWindows);
            window->addAction(QStringLiteral("&Tile"), mdi_, &QMdiArea::tileSubWindows);
        }
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(title);
        if (which == Menu::View) {
            // The bars come first, as in every document program.
            menu->addAction(QStringLiteral("&Toolbar"), this, [this](bool on) { toolBar_->setVisible(on); })
                ->setCheckable(true);
            menu->addAction(QStringLiteral("&Status Bar"), this, [this](bool on) { statusBar()->setVisible(on); })
                ->setCheckable(true);
            for (QAction* bar : menu->actions())
                bar->setChecked(true);
        }
        for (const CommandEntry& entry : commandTable()) {
            if (entry.menu != which)
                continue;
            if (entry.separatorBefore && !menu->isEmpty())
                menu->addSeparator();
            if (entry.id == ID_APP_EXIT) {
                recentMenu_ = menu->addMenu(QStringLiteral("Recent &Files"));
                menu->addSeparator();
            }
            menu->addAction(action(entry.id));
        }
    }
    rebuildRecentMenu();
}

void CMainFrame::buildToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("toolBar140"));
    toolBar_->setMovable(true); // dockable at any edge
    int group = -1;
    for (const CommandEntry& entry : commandTable()) {
        if (!entry.toolBar)
            continue;
        // A gap between the groups of the menus.
        const int menuGroup = entry.id >= ID_SHIFT_RIGHT_TB && entry.id <= ID_RESET_VIEW_TB          ? 2
                              : entry.id == ID_SENSOR_OPTIONS_TB || entry.id == ID_SYSTEM_OPTIONS_TB ? 1
                                                                                                     : 0;
        if (group != -1 && menuGroup != group)
            toolBar_->addSeparator();
        group = menuGroup;
        toolBar_->addAction(action(entry.id));
    }
}

void CMainFrame::buildStatusBar()
{
    statusBar()->showMessage(QStringLiteral("Ready"));
    indicators_ = new KeyIndicators(statusBar());
}

QAction* CMainFrame::action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

CChildFrame* CMainFrame::newDocument()
{
    auto* frame = new CChildFrame(QStringLiteral("Vorns%1").arg(++documentCount_));
    mdi_->addSubWindow(frame);
    watchView(frame->view());
    frame->show();
    mdi_->setActiveSubWindow(frame);
    updateCommandUi();
    return frame;
}

void CMainFrame::watchView(CVornscopeView* view)
{
    connect(view, &CVornscopeView::stateChanged, this, &CMainFrame::updateCommandUi);
    connect(view, &CVornscopeView::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, 5000); });
    connect(view, &QObject::destroyed, this, &CMainFrame::updateCommandUi, Qt::QueuedConnection);
    connect(view, &CVornscopeView::fileOpened, this, &CMainFrame::addRecentFile);
}

CVornscopeView* CMainFrame::activeView() const
{
    auto* frame = qobject_cast<CChildFrame*>(mdi_->activeSubWindow());
    if (frame == nullptr && !mdi_->subWindowList().isEmpty())
        frame = qobject_cast<CChildFrame*>(mdi_->subWindowList().back());
    return frame == nullptr ? nullptr : frame->view();
}

void CMainFrame::onCommand(int id)
{
    switch (id) {
    case ID_FILE_NEW: newDocument(); return;
    case ID_APP_EXIT: close(); return;
    case ID_HELP_TOPICS: showHelp(); return;
    case ID_APP_ABOUT: showAbout(); return;
    case ID_FILE_OPEN:
    case ID_OPEN_AND_GRAPH: openWithDialog(); return;
    default: break;
    }
    if (CVornscopeView* view = activeView())
        view->onCommand(id);
    updateCommandUi();
}

void CMainFrame::updateCommandUi()
{
    const CVornscopeView* view = activeView();
    for (const CommandEntry& entry : commandTable()) {
        QAction* act = action(entry.id);
        if (isFrameCommand(entry.id)) {
            act->setEnabled(true);
            continue;
        }
        // Without a view no one handles the command, so it is disabled.
        act->setEnabled(view != nullptr && commandEnabled(entry, view->state()));
        act->setChecked(view != nullptr && commandChecked(entry, view->state()));
    }
}

QStringList CMainFrame::recentFiles() const
{
    return loadRecentFiles();
}

void CMainFrame::addRecentFile(const QString& path)
{
    saveRecentFiles(withRecentFile(loadRecentFiles(), QFileInfo(path).absoluteFilePath()));
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = loadRecentFiles();
    int number = 1;
    for (const QString& path : files) {
        QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(path));
        connect(entry, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void CMainFrame::openFile(const QString& path)
{
    CVornscopeView* view = activeView();
    if (view == nullptr)
        view = newDocument()->view();
    view->openAndGraph(path);
}

void CMainFrame::openWithDialog()
{
    const QString path = askOpenPath(this);
    if (!path.isEmpty())
        openFile(path);
}

void CMainFrame::showHelp()
{
    auto* help = new HelpWindow(this);
    help->show();
}

void CMainFrame::showAbout()
{
    AboutDialog about(this);
    about.exec();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    openDropped(*event->mimeData());
    event->acceptProposedAction();
}

void CMainFrame::openDropped(const QMimeData& dropped)
{
    // Only the first dropped file is opened, as in the view.
    const auto urls = dropped.urls();
    if (!urls.isEmpty() && urls.front().isLocalFile())
        openFile(urls.front().toLocalFile());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (libraryCallInProgress()) {
        statusBar()->showMessage(QStringLiteral("Waiting for the units: cancel the wait first."), 5000);
        event->ignore();
        return;
    }
    // Closing the views shuts their groups down.
    mdi_->closeAllSubWindows();
    saveWindowGeometry(saveGeometry());
    event->accept();
}

} // namespace vornscope
