// The main window, its commands and their rules, refusals, help and about.
#include "gui/gui_test_support.h"

#include "core/animate_geometry.h"
#include "core/command_ids.h"
#include "core/command_table.h"
#include "datafiles/data_file_dialogs.h"
#include "datafiles/save_data_options_dialog.h"
#include "displays/graph_window.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "shell/about_dialog.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/help_window.h"
#include "shell/main_frame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

using namespace vornscope;
using vornscope::testing::ScriptedMessageSink;

class ShellTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
        saveRecentFiles({});
    }

    void menusCarryTheCommandTable()
    {
        CMainFrame frame;
        QStringList titles;
        for (QAction* menu : frame.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, QStringList({"&File", "&SetUp", "&Take Data", "&Options", "&View", "&Window", "&Help"}));
        for (const CommandEntry& entry : commandTable()) {
            QAction* action = frame.action(entry.id);
            QVERIFY(action != nullptr);
            QCOMPARE(action->data().toInt(), entry.id);
            QCOMPARE(action->text(), QString::fromLatin1(entry.text));
        }
        QCOMPARE(frame.action(ID_STREAM_TB)->statusTip(), QStringLiteral("Start Streaming Data"));
        QCOMPARE(frame.action(ID_DISTORTION_TB)->statusTip(), QStringLiteral("Distortion Detction"));
        // The tool bar carries the second command of each pair.
        const auto onBar = frame.toolBar()->actions();
        QVERIFY(onBar.contains(frame.action(ID_STREAM_TB)));
        QVERIFY(!onBar.contains(frame.action(ID_STREAM)));
        QVERIFY(onBar.contains(frame.action(ID_BALL_TB)));
        QVERIFY(onBar.contains(frame.action(ID_SAVE_DATA)));
    }

    void statusBarHasTheKeyIndicators()
    {
        CMainFrame frame;
        QStringList panes;
        for (auto* label : frame.statusBar()->findChildren<QLabel*>())
            panes << label->text();
        QVERIFY(panes.contains("CAP"));
        QVERIFY(panes.contains("NUM"));
        QVERIFY(panes.contains("SCRL"));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QLabel* cap = nullptr;
        for (auto* label : frame.statusBar()->findChildren<QLabel*>())
            if (label->text() == "CAP")
                cap = label;
        QVERIFY(!cap->isEnabled());
        QTest::keyClick(&frame, Qt::Key_CapsLock);
        QVERIFY(cap->isEnabled());
        QTest::keyClick(&frame, Qt::Key_CapsLock);
        QVERIFY(!cap->isEnabled());
    }

    void rulesFollowTheActiveView()
    {
        CMainFrame frame;
        QVERIFY(!frame.action(ID_STREAM)->isEnabled()); // no view yet
        QVERIFY(frame.action(ID_SETUP_RS232)->isEnabled() == false);
        CVornscopeView* view = frame.newDocument()->view();
        QVERIFY(frame.action(ID_SETUP_RS232)->isEnabled());
        QVERIFY(!frame.action(ID_STREAM)->isEnabled());
        QVERIFY(frame.action(ID_SENSOR_OPTIONS)->isEnabled());
        QVERIFY(!frame.action(ID_SENSOR_OPTIONS_TB)->isEnabled());
        view->state().setUp = true;
        view->state().streaming = true;
        view->notifyStateChanged();
        QVERIFY(frame.action(ID_STREAM)->isEnabled());
        QVERIFY(frame.action(ID_STREAM)->isChecked());
        QVERIFY(frame.action(ID_STREAM_TB)->isChecked());
        QVERIFY(frame.action(ID_SENSOR_OPTIONS_TB)->isEnabled());
        QVERIFY(!frame.action(ID_DISTORTION)->isEnabled());
        // The right button leaves every acquisition mode.
        frame.show();
        QTest::mouseClick(view, Qt::RightButton);
        QVERIFY(!view->state().streaming);
        QVERIFY(!frame.action(ID_STREAM)->isChecked());
        view->state().setUp = false; // nothing was woken
    }

    void everyCommandThatNeedsUnitsRefuses()
    {
        CMainFrame frame;
        frame.newDocument();
        ScriptedMessageSink messages;
        const int refusing[] = {ID_SHUT_DOWN,         ID_STREAM,         ID_STREAM_TB,        ID_POINT,
                                ID_POINT_TB,          ID_ANIMATE,        ID_ANIMATE_TB,       ID_SENSOR_OPTIONS,
                                ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS, ID_SYSTEM_OPTIONS_TB};
        for (const int id : refusing) {
            messages.shown.clear();
            frame.onCommand(id);
            QCOMPARE(messages.shown.size(), size_t {1});
            QCOMPARE(messages.shown[0].text, std::string("Vorn must be set up first"));
            QCOMPARE(messages.shown[0].caption, std::string());
            QVERIFY(messages.shown[0].icon == MessageIcon::Exclamation);
        }
    }

    void documentsTakeTheNextGroupId()
    {
        CMainFrame frame;
        const int first = frame.newDocument()->document()->groupId();
        const int second = frame.newDocument()->document()->groupId();
        QCOMPARE(second, first + 1);
        QVERIFY(first >= 1);
        QVERIFY(frame.newDocument()->view()->mutexName().rfind("MutexSyncHwnd", 0) == 0);
    }

    void animateShiftAndZoomSteps()
    {
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        view->state().animating = true;
        view->showStatusLine("x");
        frame.onCommand(ID_SHIFT_RIGHT);
        frame.onCommand(ID_SHIFT_UP_TB);
        frame.onCommand(ID_ZOOM_IN);
        frame.onCommand(ID_ZOOM_OUT_TB);
        frame.onCommand(ID_ZOOM_OUT);
        QCOMPARE(view->shiftX, 40);
        QCOMPARE(view->shiftY, -35);
        QCOMPARE(view->zoom, 0.75);
        QVERIFY(view->document()->textItems().items().empty()); // each step clears the view
        // Zoom In stops before the drawing leaves the screen: a sensor at the
        // centre of the range stays in the middle, one at a quarter of it on screen.
        for (int step = 0; step < 8; ++step)
            frame.onCommand(ID_ZOOM_IN_TB);
        QCOMPARE(view->zoom, 1.75);
        SensorRecord sensor;
        sensor.position = {0, 36.0 / 4, -36.0 / 4};
        const SensorAxes axes = sensorAxes(sensor, 36, AnimateFrame {view->zoom, 0, 0, 400, 300});
        QVERIFY(axes.origin.x >= 0 && axes.origin.x <= 400);
        QVERIFY(axes.origin.y >= 0 && axes.origin.y <= 300);
        frame.onCommand(ID_RESET_VIEW);
        QCOMPARE(view->zoom, 1.0);
        view->state().animating = false;
    }

    void textItemsReplaceInPlaceOnScreen()
    {
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        view->showStatusLine("Waking up vorn...");
        view->showStatusLine("Setup complete");
        QCOMPARE(view->document()->textItems().items().size(), size_t {1});
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        vornscope::testing::saveScreenshot(&frame, "main_window");
    }

    void recentFilesKeepSix()
    {
        CMainFrame frame;
        for (int i = 1; i <= 8; ++i)
            frame.addRecentFile(QStringLiteral("/tmp/vornscope-test-%1.dat").arg(i));
        const QStringList files = frame.recentFiles();
        QCOMPARE(files.size(), 6);
        QCOMPARE(files.front(), QStringLiteral("/tmp/vornscope-test-8.dat"));
        frame.addRecentFile(QStringLiteral("/tmp/vornscope-test-5.dat"));
        QCOMPARE(frame.recentFiles().front(), QStringLiteral("/tmp/vornscope-test-5.dat"));
        QCOMPARE(frame.recentFiles().size(), 6);
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Local AppWizard-Generated Applications"));
        saveRecentFiles({});
    }

    void toolBarIconsLookDisabledWhenDisabled()
    {
        CMainFrame frame;
        frame.show();
        const auto alphaAndColour = [](const QImage& image) {
            double alpha = 0;
            double colour = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    alpha += pixel.alphaF();
                    colour += pixel.alphaF() * pixel.hsvSaturationF();
                }
            return std::pair {alpha, colour};
        };
        const auto actions = frame.findChild<QToolBar*>()->actions();
        QVERIFY(!actions.isEmpty());
        for (QAction* action : actions) {
            if (action->icon().isNull())
                continue;
            const auto [alphaOn, colourOn] = alphaAndColour(action->icon().pixmap(24, QIcon::Normal).toImage());
            const auto [alphaOff, colourOff] = alphaAndColour(action->icon().pixmap(24, QIcon::Disabled).toImage());
            QVERIFY2(alphaOff < 0.4 * alphaOn, qPrintable(action->text()));
            QVERIFY2(colourOff < 0.1 * colourOn + 1, qPrintable(action->text()));
        }
    }

    void saveDataOptionsSaysWhatOkDoesAndEnterMeansOk()
    {
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        QTemporaryDir folder;
        const QString target = folder.filePath("new-target.dat");
        setFileDialogAnswer([target] { return target; });
        QString before;
        QString after;
        bool sendChosen = false;
        vornscope::testing::whenShown<SaveDataOptionsDialog>([&](SaveDataOptionsDialog* dialog) {
            before = dialog->findChild<QLabel*>("outcome")->text();
            auto* button = dialog->findChild<QPushButton*>("targetButton");
            button->click();
            sendChosen = dialog->send();
            after = dialog->findChild<QLabel*>("outcome")->text();
            vornscope::testing::saveScreenshot(&frame, dialog, "save_data_options_new_target");
            button->setFocus();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        frame.onCommand(ID_SAVE_DATA_OPTIONS);
        setFileDialogAnswer(nullptr);
        QCOMPARE(before, QStringLiteral("No target file: data points are not saved."));
        QVERIFY(sendChosen);
        QVERIFY2(after.contains("creates new-target.dat") && after.contains("writes every stream and point data point"),
                 qPrintable(after));
        QVERIFY(view->state().sendToTarget);
        QCOMPARE(QString::fromStdString(view->saveTarget), target);
        QVERIFY(QFileInfo::exists(target));
    }

    void droppedFileGoesToTheGraphWhateverItsPathLength()
    {
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        ScriptedMessageSink messages;
        QMimeData missing;
        missing.setUrls({QUrl::fromLocalFile("/tmp/vornscope-no-such-file.dat")});
        frame.openDropped(missing);
        QCOMPARE(messages.shown.size(), std::size_t {1});
        QCOMPARE(messages.shown[0].text, std::string("Could not open file for input"));
        QCOMPARE(messages.shown[0].icon, MessageIcon::Stop);

        // A path well over 80 characters opens as it is.
        QTemporaryDir folder;
        const QString deep = folder.filePath("a-folder-name-long-enough/to-take-the-path/past-eighty-characters");
        QVERIFY(QDir().mkpath(deep));
        const QString path = deep + "/two-sensors.dat";
        QVERIFY(path.size() > 80);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1pos:1  2  3\n2pos:4  5  6\n0end-frame:\n1pos:2  3  4\n2pos:5  6  7\n0end-frame:\n");
        file.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile("/tmp/second.dat")});
        frame.openDropped(data);
        QCOMPARE(messages.shown.size(), std::size_t {1});
        QVERIFY(view->state().graphVisible);
        QCOMPARE(view->graphWindow()->data().count(), std::size_t {2});
        QCOMPARE(view->graphWindow()->data().sensorCount(), 2);
        QCOMPARE(view->graphWindow()->findChild<QTabBar*>()->count(), 2);
        QCOMPARE(frame.recentFiles().value(0), QFileInfo(path).absoluteFilePath());
        saveRecentFiles({});
    }

    void aboutShowsTheVersion()
    {
        CMainFrame frame;
        AboutDialog about(&frame);
        auto* label = about.findChild<QLabel*>("versionLabel");
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), QStringLiteral("Vornscope Version 1.3.0"));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        vornscope::testing::saveScreenshot(&about, "about");
    }

    void helpTopicsShowsTheShippedPage()
    {
        CMainFrame frame;
        HelpWindow help(&frame);
        auto* browser = help.findChild<QTextBrowser*>("helpBrowser");
        QVERIFY(browser != nullptr);
        QVERIFY(browser->toPlainText().contains("Vorn must be set up first"));
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        vornscope::testing::saveScreenshot(&help, "help");
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
