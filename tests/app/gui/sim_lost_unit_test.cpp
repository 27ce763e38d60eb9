// Vornscope when the units go away while a mode runs: a serial line hung up
// by the simulator, a controller that hangs up or stops and comes back. The
// program says what happened, the mode ends with its thread, the group is shut
// down, and a new setup takes data again without a restart.
#include "gui/gui_test_support.h"

#include "acquisition/acquisition_hub.h"
#include "controller/controller_server.h"
#include "core/command_ids.h"
#include "displays/animate_display.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "simulator.h"

#include <QAction>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>

#include <chrono>

using namespace vornscope;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::setUpRs232;
using vornscope::testing::setUpTcpip;
using vornscope::testing::ShownMessage;

namespace {

constexpr const char* kLost = "The units stopped answering: ";
// Two seconds of failing reads, and the first may wait its full time-out.
constexpr int kLostWithinMs = 10000;

struct Window {
    Window()
    {
        view = frame.newDocument()->view();
        frame.resize(900, 600);
        frame.show();
    }
    void deliversPoints(std::size_t points)
    {
        const std::size_t from = view->acquisition().delivered();
        QTRY_VERIFY_WITH_TIMEOUT(view->acquisition().delivered() >= from + points, 15000);
    }
    // Waits for the box that tells of the lost units and checks what the window shows then.
    void showsTheUnitsLost()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!messages.shown.empty(), kLostWithinMs);
        const ShownMessage& box = messages.shown.front();
        QVERIFY2(box.text.starts_with(kLost), box.text.c_str());
        QVERIFY(box.text.find("set up again") != std::string::npos);
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QCOMPARE(messages.shown.size(), std::size_t {1});
        messages.shown.clear();
        QVERIFY(!view->state().streaming && !view->state().animating && !view->state().setUp);
        QVERIFY(!view->acquisition().active());
        // The line stays in the view; the acquisition commands wait for a new setup.
        const auto& items = view->document()->textItems().items();
        QVERIFY(!items.empty() && items.front().text.starts_with(kLost));
        for (int id : {ID_STREAM, ID_ANIMATE, ID_POINT}) {
            QVERIFY(!frame.action(id)->isEnabled());
            QVERIFY(!frame.action(id)->isChecked());
        }
        QVERIFY(frame.action(ID_SETUP_RS232)->isEnabled());
    }

    CMainFrame frame;
    CVornscopeView* view = nullptr;
    ScriptedMessageSink messages;
};

} // namespace

class SimLostUnitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
    }

    void pulledSerialLineEndsTheStreamAndANewSetupStreamsAgain()
    {
        vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(2));
        simulator.start();
        simulator.exportEnvironment();
        Window window;
        setUpRs232(window.frame, 2);
        QVERIFY(window.view->state().setUp);
        window.frame.onCommand(ID_STREAM);
        window.deliversPoints(5);

        simulator.line(1).closeLine(std::chrono::milliseconds(1000));
        window.showsTheUnitsLost();
        saveScreenshot(&window.frame, "units_lost");
        // The thread asks no more: the failure count stands still.
        const unsigned failures = window.view->acquisition().failedReads();
        QTest::qWait(500);
        QCOMPARE(window.view->acquisition().failedReads(), failures);

        // The line is back: a new setup streams again.
        QTest::qWait(1000);
        setUpRs232(window.frame, 2);
        QVERIFY(window.view->state().setUp);
        window.frame.onCommand(ID_STREAM);
        window.deliversPoints(10);
        QVERIFY(window.messages.shown.empty());
    }

    // Animate mode gives samplesPerPoint back and hides its axes; the formats
    // cannot go back to units that are gone.
    void pulledLineEndsAnimateMode()
    {
        vorn::sim::Simulator simulator(vorn::sim::standAloneConfig());
        simulator.start();
        simulator.exportEnvironment();
        Window window;
        setUpRs232(window.frame, 1);
        window.view->document()->setSamplesPerPoint(3);
        window.frame.onCommand(ID_ANIMATE);
        window.frame.onCommand(ID_BALL);
        window.deliversPoints(5);
        simulator.line(0).closeLine(std::chrono::milliseconds(500));
        window.showsTheUnitsLost();
        QVERIFY(!window.view->state().ball);
        QVERIFY(!window.view->animateDisplay()->isVisible());
        QCOMPARE(window.view->document()->samplesPerPoint(), 3);
        QVERIFY(!window.frame.action(ID_BALL)->isEnabled());
    }

    // Stopping while the line is dead ends the mode at once and the thread soon after.
    void theModeStopsWhileTheLineIsDead()
    {
        vorn::sim::Simulator simulator(vorn::sim::standAloneConfig());
        simulator.start();
        simulator.exportEnvironment();
        Window window;
        setUpRs232(window.frame, 1);
        window.frame.onCommand(ID_STREAM);
        window.deliversPoints(3);
        simulator.line(0).closeLine(std::chrono::milliseconds(60000));
        QTRY_VERIFY_WITH_TIMEOUT(window.view->acquisition().failedReads() > 0, 5000);
        window.frame.onCommand(ID_STREAM);
        QVERIFY(!window.view->state().streaming);
        QVERIFY(!window.frame.action(ID_STREAM)->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(!window.view->acquisition().active(), 3000);
        // Shut Down does not hang on the dead line.
        window.frame.onCommand(ID_SHUT_DOWN);
        QVERIFY(!window.view->state().setUp);
    }

    void controllerThatHangsUpOrStopsAndComesBack()
    {
        vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(2));
        controller.start();
        Window window;
        setUpTcpip(window.frame, controller.port(), 2);
        QVERIFY(window.view->state().setUp);
        window.frame.onCommand(ID_STREAM);
        window.deliversPoints(5);
        controller.hangUpAll();
        window.showsTheUnitsLost();

        // It listened on: a new setup streams again.
        setUpTcpip(window.frame, controller.port(), 2);
        QVERIFY(window.view->state().setUp);
        window.frame.onCommand(ID_ANIMATE);
        window.deliversPoints(5);

        // Gone for good: a setup fails with the library's message, and works
        // once the controller is back on its port.
        controller.closeListener();
        controller.hangUpAll();
        window.showsTheUnitsLost();
        setUpTcpip(window.frame, controller.port(), 2);
        QVERIFY(!window.view->state().setUp);
        QVERIFY(!window.messages.shown.empty());
        window.messages.shown.clear();
        controller.reopenListener();
        setUpTcpip(window.frame, controller.port(), 2);
        QVERIFY(window.view->state().setUp);
        window.frame.onCommand(ID_STREAM);
        window.deliversPoints(5);
        QVERIFY(window.messages.shown.empty());
    }
};

QTEST_MAIN(SimLostUnitTest)
#include "sim_lost_unit_test.moc"
