// Vornscope's data acquisition against the simulated units: stream to a
// target file and read it back into the graph, print the graph to PDF, point
// mode by key, animate mode giving the formats back, and the distortion bar
// near simulated metal.
#include "gui/gui_test_support.h"

#include "acquisition/acquisition_hub.h"
#include "core/command_ids.h"
#include "core/data_file_reader.h"
#include "datafiles/data_file_dialogs.h"
#include "datafiles/save_data_options_dialog.h"
#include "displays/animate_display.h"
#include "displays/distortion_bar.h"
#include "displays/distortion_dialog.h"
#include "displays/graph_window.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "setup/setup_dialogs.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "simulator.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vornscope;
using vornscope::testing::pressOk;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::setUpRs232;
using vornscope::testing::whenShown;

namespace {

bool hasText(const CVornscopeView* view, const std::string& text)
{
    for (const CTextItem& item : view->document()->textItems().items())
        if (item.text == text)
            return true;
    return false;
}

struct Session {
    explicit Session(vorn::sim::SimulatorConfig config, int units) : simulator(std::move(config))
    {
        simulator.start();
        simulator.exportEnvironment();
        view = frame.newDocument()->view();
        frame.resize(1000, 700);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        setUpRs232(frame, units);
        QVERIFY(view->state().setUp);
    }
    // Streams until `points` data points arrived, then stops and waits for the last.
    void stream(std::size_t points)
    {
        const std::size_t before = view->acquisition().delivered();
        frame.onCommand(ID_STREAM);
        QVERIFY(view->state().streaming);
        QTRY_VERIFY_WITH_TIMEOUT(view->acquisition().delivered() >= before + points, 15000);
        frame.onCommand(ID_STREAM);
        QVERIFY(!view->state().streaming);
        QTest::qWait(300);
    }

    vorn::sim::Simulator simulator;
    CMainFrame frame;
    CVornscopeView* view = nullptr;
    ScriptedMessageSink messages;
};

} // namespace

class SimAcquisitionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
    }
    void cleanup() { setFileDialogAnswer(nullptr); }

    void streamToTargetFileThenGraphZoomAndPrint()
    {
        QTemporaryDir folder;
        const QString target = folder.filePath("stream.dat");
        Session session(vorn::sim::vornsetConfig(2), 2);
        CVornscopeView* view = session.view;
        view->showTimes = true;
        setFileDialogAnswer([target] { return target; });
        session.frame.onCommand(ID_SAVE_DATA);
        QVERIFY(view->state().sendToTarget);
        QCOMPARE(QString::fromStdString(view->saveTarget), target);

        session.stream(20);
        QVERIFY(hasText(view, "      Sensor 1"));
        QVERIFY(hasText(view, "      Sensor 2"));
        saveScreenshot(&session.frame, "numeric_display");
        const std::size_t delivered = view->acquisition().delivered();

        // Close the target file through its dialog.
        whenShown<SaveDataOptionsDialog>([](SaveDataOptionsDialog* dialog) {
            QCOMPARE(dialog->findChild<QPushButton*>("targetButton")->text(), QString("Change Target"));
            dialog->findChild<QCheckBox*>("closeTarget")->setChecked(true);
            pressOk(dialog);
        });
        session.frame.onCommand(ID_SAVE_DATA_OPTIONS);
        QVERIFY(!view->state().sendToTarget);
        QCOMPARE(view->saveTarget, std::string("no target file"));

        // Every delivered point is one frame of the file, and the file reads back.
        std::string text;
        QVERIFY(loadFileText(target.toStdString(), text));
        GraphData written;
        QCOMPARE(readDataFile(text, written), ReadOutcome::Complete);
        QCOMPARE(written.count(), delivered);
        QCOMPARE(written.sensorCount(), 2);
        for (std::size_t i = 1; i < written.count(); ++i)
            QVERIFY2(written.time(i) > written.time(i - 1), "frame times must rise");

        view->openAndGraph(target);
        QVERIFY(session.messages.shown.empty());
        QVERIFY(view->state().graphVisible);
        CGraphWindow* graph = view->graphWindow();
        QCOMPARE(graph->data().count(), delivered);
        QCOMPARE(session.frame.recentFiles().value(0), QFileInfo(target).absoluteFilePath());
        saveScreenshot(&session.frame, "graph_window");

        const double widthBefore = graph->graphView().width();
        session.frame.onCommand(ID_ZOOM_IN);
        QVERIFY(graph->graphView().width() < widthBefore);
        session.frame.onCommand(ID_ZOOM_OUT);

        const QString pdf = folder.filePath("graph.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        view->printGraph(printer);
        QVERIFY(QFileInfo(pdf).size() > 1000);

        // The graph saves to a file that reads back to the same points.
        const QString saved = folder.filePath("graph.dat");
        setFileDialogAnswer([saved] { return saved; });
        session.frame.onCommand(ID_FILE_SAVE);
        QVERIFY(loadFileText(saved.toStdString(), text));
        GraphData reread;
        QCOMPARE(readDataFile(text, reread), ReadOutcome::Complete);
        QCOMPARE(reread.count(), delivered);
    }

    void streamIntoTheGraphAndPointModeByKey()
    {
        Session session(vorn::sim::standAloneConfig(), 1);
        CVornscopeView* view = session.view;
        session.frame.onCommand(ID_GRAPH);
        QVERIFY(view->state().graphVisible);
        session.stream(30);
        CGraphWindow* graph = view->graphWindow();
        QVERIFY(graph->data().count() >= 30);
        QCOMPARE(graph->graphView().cursor1, graph->data().count() - 1);
        saveScreenshot(&session.frame, "graph_streaming");

        session.frame.onCommand(ID_GRAPH); // off: points go to the numeric display
        session.frame.onCommand(ID_POINT);
        QVERIFY(view->state().pointMode);
        QVERIFY(hasText(view, "Left click in the client area or hit the spacebar or enter to take data. "
                              "Right click to exit point mode"));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(hasText(view, "      Sensor 1"));
        QTest::mouseClick(view, Qt::RightButton);
        QVERIFY(!view->state().pointMode);
        QVERIFY(session.messages.shown.empty());
    }

    void animateForcesPositionMatrixAndGivesTheFormatsBack()
    {
        Session session(vorn::sim::vornsetConfig(2), 2);
        CVornscopeView* view = session.view;
        view->document()->setSamplesPerPoint(4);
        const int before = session.simulator.unitSettings(1)->dataFormat;
        session.frame.onCommand(ID_ANIMATE);
        QVERIFY(view->state().animating);
        QCOMPARE(view->document()->samplesPerPoint(), 1);
        QCOMPARE(int(session.simulator.unitSettings(1)->dataFormat), 5);
        QCOMPARE(int(session.simulator.unitSettings(2)->dataFormat), 5);
        session.frame.onCommand(ID_BALL);
        QVERIFY(view->state().ball);
        QTRY_VERIFY_WITH_TIMEOUT(view->acquisition().delivered() >= 20, 15000);
        QCOMPARE(view->animateDisplay()->axes().size(), std::size_t {2});
        saveScreenshot(&session.frame, "animate_display");
        session.frame.onCommand(ID_ANIMATE);
        QVERIFY(!view->state().animating);
        QCOMPARE(view->document()->samplesPerPoint(), 4);
        QCOMPARE(int(session.simulator.unitSettings(1)->dataFormat), before);
        QCOMPARE(int(session.simulator.unitSettings(2)->dataFormat), before);
    }

    // A new setup, Shut Down and closing the window end the modes first, as
    // leaving them does: the thread stops (no more frame requests, so the
    // failure counter stays still) and animate mode gives the formats and
    // samplesPerPoint back while the old group is still awake.
    void setupShutDownAndCloseEndTheModesFirst()
    {
        Session session(vorn::sim::vornsetConfig(2), 2);
        CVornscopeView* view = session.view;
        auto quiet = [view] {
            const unsigned failures = view->acquisition().failedReads();
            const std::size_t delivered = view->acquisition().delivered();
            QTest::qWait(1500);
            QCOMPARE(view->acquisition().failedReads(), failures);
            QCOMPARE(view->acquisition().delivered(), delivered);
            QVERIFY(!view->acquisition().active());
        };

        auto deliversFive = [view] {
            const std::size_t from = view->acquisition().delivered();
            QTRY_VERIFY_WITH_TIMEOUT(view->acquisition().delivered() >= from + 5, 15000);
        };

        session.frame.onCommand(ID_STREAM);
        deliversFive();
        setUpRs232(session.frame, 2);
        QVERIFY(view->state().setUp);
        QVERIFY(!view->state().streaming);
        quiet();

        view->document()->setSamplesPerPoint(4);
        const int before = session.simulator.unitSettings(1)->dataFormat;
        session.frame.onCommand(ID_ANIMATE);
        deliversFive();
        QTRY_COMPARE_WITH_TIMEOUT(int(session.simulator.unitSettings(2)->dataFormat), 5, 5000);
        setUpRs232(session.frame, 2);
        QVERIFY(!view->state().animating);
        QVERIFY(!view->animateDisplay()->isVisible());
        QCOMPARE(view->document()->samplesPerPoint(), 4);
        QCOMPARE(int(view->document()->group()->deviceConfig[2].dataFormat), before);
        quiet();
        // A later mode start writes nothing of the old group to the new one.
        session.frame.onCommand(ID_STREAM);
        deliversFive();
        QCOMPARE(int(session.simulator.unitSettings(2)->dataFormat), before);

        session.frame.onCommand(ID_ANIMATE);
        QTRY_VERIFY_WITH_TIMEOUT(int(session.simulator.unitSettings(2)->dataFormat) == 5, 5000);
        session.frame.onCommand(ID_SHUT_DOWN);
        QVERIFY(!view->state().setUp && !view->state().animating);
        QCOMPARE(int(session.simulator.unitSettings(2)->dataFormat), before);
        QCOMPARE(view->document()->samplesPerPoint(), 4);
        quiet();

        setUpRs232(session.frame, 2);
        session.frame.onCommand(ID_ANIMATE);
        deliversFive();
        view->parentWidget()->close(); // the child window
        QTRY_COMPARE_WITH_TIMEOUT(int(session.simulator.unitSettings(2)->dataFormat), before, 5000);
        QVERIFY(session.messages.shown.empty());
    }

    void distortionBarRisesNearMetal()
    {
        auto config = vorn::sim::standAloneConfig();
        config.units[0].softwareRevision = 0x0353; // detection, record readable
        config.metal.push_back({{0, 0, 0}, 2.5e5});
        Session session(std::move(config), 1);
        CVornscopeView* view = session.view;
        QVERIFY(session.frame.action(ID_DISTORTION)->isEnabled());
        const int reported = view->document()->group()->distortionParams[1].sensitivity;
        QString shownSensitivity;
        whenShown<DistortionDialog>([&shownSensitivity](DistortionDialog* dialog) {
            shownSensitivity = dialog->findChild<QLineEdit*>("sensitivity")->text();
            dialog->findChild<QLineEdit*>("sensitivity")->setText("60");
            saveScreenshot(dialog, "distortion_options");
            pressOk(dialog);
        });
        session.frame.onCommand(ID_DISTORTION);
        // The dialog showed what the unit reported at wake-up.
        QCOMPARE(shownSensitivity, QString::number(reported));
        QVERIFY(view->state().distortionOn);
        QVERIFY(view->document()->group()->distortionParams[1].enabled);
        QCOMPARE(view->document()->group()->distortionParams[1].sensitivity, 60);
        QTRY_COMPARE_WITH_TIMEOUT(int(session.simulator.unitSettings(0)->metalDetection[1]), 60, 2000);
        session.stream(15);
        CDistortionBar* bar = view->findChild<CDistortionBar*>();
        QVERIFY(bar && bar->isVisible());
        QVERIFY2(bar->value() > 0, "the bar shows the simulated metal");
        saveScreenshot(&session.frame, "distortion_bar");
        QVERIFY(session.messages.shown.empty());
    }

    void distortionOverAVornsetUsesGroupModeForTheReadAndTheUpButton()
    {
        auto config = vorn::sim::vornsetConfig(2);
        for (auto& unit : config.units)
            unit.softwareRevision = 0x0353;
        config.metal.push_back({{0, 0, 0}, 2.5e5});
        Session session(std::move(config), 2);
        CVornscopeView* view = session.view;
        whenShown<DistortionDialog>([](DistortionDialog* dialog) { pressOk(dialog); });
        session.frame.onCommand(ID_DISTORTION);
        QVERIFY(view->state().distortionOn);
        session.stream(5);
        QVERIFY(hasText(view, "      Sensor 2"));
        QVERIFY(view->findChild<CDistortionBar*>()->value() > 0);
        // Group mode was switched on for each read and off again.
        QTRY_VERIFY_WITH_TIMEOUT(!session.simulator.unitSettings(1)->groupMode, 2000);

        // "Up" raises the measurement rate by 0.2 per second.
        session.frame.onCommand(ID_GRAPH);
        const double before = view->document()->group()->systemConfig.measurementRate;
        for (auto* button : view->graphWindow()->findChildren<QPushButton*>())
            if (button->text() == "Up")
                button->click();
        QVERIFY(std::abs(view->document()->group()->systemConfig.measurementRate - (before + 0.2)) < 1e-9);
        QVERIFY(session.messages.shown.empty());
    }
};

QTEST_MAIN(SimAcquisitionTest)
#include "sim_acquisition_test.moc"
