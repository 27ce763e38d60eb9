// The graph window's mouse and keys, Graph Scaling, Reset View's warning and
// the tabs, on a graph read from a data file (no units needed).
#include "gui/gui_test_support.h"

#include "core/command_ids.h"
#include "core/data_file_reader.h"
#include "datafiles/background_work.h"
#include "displays/graph_scaling_dialog.h"
#include "displays/graph_window.h"
#include "document/vornscope_view.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using namespace vornscope;
using vornscope::testing::pressOk;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::whenShown;

namespace {

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& text)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

// 200 points of three sensors: sensor s's x is the sample number times s.
QString writeGraphFile(const QTemporaryDir& folder, const char* lineEnd = "\n")
{
    QString text;
    for (int point = 0; point < 200; ++point) {
        for (int sensor = 1; sensor <= 3; ++sensor)
            text += QString("%1pos:%2  0.5  -0.5\n%1ang:10  20  30\n%1time:%3\n")
                        .arg(sensor)
                        .arg(point * sensor)
                        .arg(point * 0.01);
        text += "0end-frame:\n";
    }
    text.replace("\n", lineEnd);
    return writeFile(folder, QString("three%1.dat").arg(qstrlen(lineEnd)), text.toUtf8());
}

} // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
    }

    void mouseKeysScalingAndReset()
    {
        QTemporaryDir folder;
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.resize(1000, 700);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        ScriptedMessageSink messages;
        view->openAndGraph(writeGraphFile(folder));
        QVERIFY(messages.shown.empty());
        CGraphWindow* graph = view->graphWindow();
        QCOMPARE(graph->data().count(), std::size_t {200});
        QCOMPARE(graph->findChild<QTabBar*>()->count(), 3);
        QCOMPARE(graph->graphView().state.start, 0.0);
        QCOMPARE(graph->graphView().state.end, 200.0);

        // A tab selects the sensor, "Ang" the angles.
        graph->findChild<QTabBar*>()->setCurrentIndex(2);
        QCOMPARE(graph->selectedSensor(), 3);
        for (auto* radio : graph->findChildren<QRadioButton*>())
            if (radio->text() == "Ang")
                radio->click();
        QCOMPARE(graph->quantity(), 1);

        // A click puts cursor 1 on the sample under it, Shift-click cursor 2.
        const PlotArea plot = graph->plotArea();
        const auto xOf = [&](double sample) { return QPoint(int(graph->graphView().xOfSample(sample, plot)), 50); };
        QTest::mouseClick(graph, Qt::LeftButton, {}, xOf(100));
        QCOMPARE(graph->graphView().cursor1, std::size_t {100});
        QTest::mouseClick(graph, Qt::LeftButton, Qt::ShiftModifier, xOf(40));
        QCOMPARE(graph->graphView().cursor2, std::size_t {40});

        // Keys: one sample, a tenth of the window with Ctrl, Home and End.
        QTest::keyClick(graph, Qt::Key_Right);
        QCOMPARE(graph->graphView().cursor1, std::size_t {101});
        QTest::keyClick(graph, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(graph->graphView().cursor1, std::size_t {81});
        QTest::keyClick(graph, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(graph->graphView().cursor2, std::size_t {199});
        QTest::keyClick(view, Qt::Key_Home); // the view forwards its keys
        QCOMPARE(graph->graphView().cursor1, std::size_t {0});

        // Ctrl-drag zooms to the rectangle; the right button goes back.
        const QPoint from = xOf(50);
        const QPoint to(xOf(100).x(), int(plot.height / 2));
        QTest::mousePress(graph, Qt::LeftButton, Qt::ControlModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, graph->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::ControlModifier);
        QApplication::sendEvent(graph, &move);
        QTest::mouseRelease(graph, Qt::LeftButton, Qt::ControlModifier, to);
        QVERIFY(std::abs(graph->graphView().state.start - 50) <= 1);
        QVERIFY(std::abs(graph->graphView().state.end - 100) <= 1);
        QVERIFY(graph->graphView().state.scale < 10);
        saveScreenshot(&frame, "graph_zoomed");
        QTest::mouseClick(graph, Qt::RightButton, {}, xOf(60));
        QCOMPARE(graph->graphView().state.scale, 10.0);
        QCOMPARE(graph->graphView().width(), 200.0);

        // Graph Scaling shows scale x 0.8 and the window width; OK applies the values.
        whenShown<GraphScalingDialog>([](GraphScalingDialog* dialog) {
            QCOMPARE(dialog->findChild<QDoubleSpinBox*>("verticalDistance")->value(), 8.0);
            QCOMPARE(dialog->findChild<QDoubleSpinBox*>("pointsPerScreen")->value(), 200.0);
            dialog->findChild<QDoubleSpinBox*>("verticalDistance")->setValue(40);
            dialog->findChild<QDoubleSpinBox*>("offsetAdjustment")->setValue(5);
            pressOk(dialog);
        });
        QTest::mouseDClick(graph, Qt::LeftButton, {}, xOf(20));
        QCOMPARE(graph->graphView().state.scale, 50.0);
        QCOMPARE(graph->graphView().state.offsets[1], 5.0);

        // Reset View asks first; No keeps the graph, Yes clears it.
        messages.answers = {MessageAnswer::No};
        frame.onCommand(ID_RESET_VIEW);
        QCOMPARE(messages.shown.back().text,
                 std::string("Resetting will erase the graph and all unsaved data. Continue?"));
        QCOMPARE(messages.shown.back().caption, std::string("Warning"));
        QCOMPARE(graph->data().count(), std::size_t {200});
        messages.answers = {MessageAnswer::Yes};
        frame.onCommand(ID_RESET_VIEW);
        QCOMPARE(graph->data().count(), std::size_t {0});
        QCOMPARE(graph->graphView().state.scale, 10.0);
        QCOMPARE(graph->graphView().state.end, 0.0);
    }

    void crLfFileOpensAndAFileWithoutPointsSaysSo()
    {
        QTemporaryDir folder;
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        const QStringList before = frame.recentFiles();
        for (const QString& empty :
             {writeFile(folder, "words.dat", "hello\r\n"), writeFile(folder, "blank.dat", "\r\n\r\n"),
              writeFile(folder, "frameless.dat", "0end-frame:\r\n")}) {
            view->openAndGraph(empty);
            QCOMPARE(messages.shown.size(), std::size_t {1});
            QCOMPARE(messages.shown[0].text, std::string("The file holds no data points to graph"));
            QVERIFY(!view->state().graphVisible);
            QCOMPARE(frame.recentFiles(), before);
            messages.shown.clear();
        }
        const QString crLf = writeGraphFile(folder, "\r\n");
        view->openAndGraph(crLf);
        QVERIFY(messages.shown.empty());
        QCOMPARE(view->graphWindow()->data().count(), std::size_t {200});
        QCOMPARE(view->graphWindow()->data().sensorCount(), 3);
        QCOMPARE(view->graphWindow()->data().value(199, 3, 0, 0), 597.0);
        QCOMPARE(frame.recentFiles().front(), crLf);
        // Nothing is set up: the graph cannot change the measurement rate.
        for (auto* button : view->graphWindow()->findChildren<QPushButton*>())
            QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    }

    void graphFollowsTheViewsSize()
    {
        QTemporaryDir folder;
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.resize(800, 600);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        view->openAndGraph(writeGraphFile(folder));
        CGraphWindow* graph = view->graphWindow();
        QCOMPARE(graph->width(), view->width() - 20);
        QWidget* child = view->parentWidget(); // the document's window
        child->resize(child->width() + 300, child->height() + 200);
        QTRY_VERIFY(view->width() > 700);
        QCOMPARE(graph->width(), view->width() - 20);
        QCOMPARE(graph->height(), int(0.8 * view->height()));
        saveScreenshot(&frame, "graph_after_resize");
    }

    void scalingRefusesAVerticalDistanceOfZero()
    {
        QTemporaryDir folder;
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        view->openAndGraph(writeGraphFile(folder));
        bool stayedOpen = false;
        whenShown<GraphScalingDialog>([&](GraphScalingDialog* dialog) {
            dialog->findChild<QDoubleSpinBox*>("verticalDistance")->setValue(0);
            pressOk(dialog);
            stayedOpen = dialog->isVisible();
            dialog->findChild<QDoubleSpinBox*>("verticalDistance")->setValue(4);
            pressOk(dialog);
        });
        frame.onCommand(ID_GRAPH_OPTIONS);
        QVERIFY(stayedOpen);
        QCOMPARE(messages.shown.size(), std::size_t {1});
        QVERIFY(messages.shown[0].text.find("Vertical Distance") == 0);
        QCOMPARE(view->graphWindow()->graphView().state.scale, 5.0);
    }

    void longReadShowsProgressAndCancelEndsIt()
    {
        QWidget window;
        window.show();
        ReadProgress progress;
        progress.total = 100;
        int ticks = 0;
        QTimer ticking;
        QObject::connect(&ticking, &QTimer::timeout, [&] { ++ticks; });
        ticking.start(10);
        whenShown<QProgressDialog>([&](QProgressDialog* dialog) {
            QCOMPARE(dialog->labelText(), QStringLiteral("Reading big.dat"));
            dialog->findChild<QPushButton*>()->click();
        });
        // Work that ends only when cancelled, as a very large file would.
        const bool finished = runWithProgress(
            &window, "Reading big.dat", progress,
            [&] {
                progress.done = 40;
                progress.cancel.wait(false);
            },
            50);
        QVERIFY(!finished);
        QVERIFY(progress.cancel);
        QVERIFY2(ticks > 0, "the event loop ran while the work did");
        // Quick work returns without a window.
        ReadProgress quick;
        QVERIFY(runWithProgress(&window, "quick", quick, [] {}));
    }

    void unrecognisedFileKeepsItsFramesAndStaysOffTheRecentList()
    {
        QTemporaryDir folder;
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        const QString path = folder.filePath("odd.dat");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1pos:1  2  3\n0end-frame:\n3foo:1\n");
        file.close();
        const QStringList before = frame.recentFiles();
        view->openAndGraph(path);
        QCOMPARE(messages.shown.size(), std::size_t {1});
        QCOMPARE(messages.shown[0].text, std::string("Unrecognized File format"));
        QCOMPARE(messages.shown[0].caption, std::string());
        QCOMPARE(view->graphWindow()->data().count(), std::size_t {1});
        QCOMPARE(frame.recentFiles(), before);
    }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
