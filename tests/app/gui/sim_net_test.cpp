// Vornscope against the simulated networked controller (TCP/IP on loopback)
// and a simulated ISA board behind the port-I/O socket: setups through the
// real dialogs to "Setup complete", and options the simulator then holds.
#include "gui/gui_test_support.h"

#include "acquisition/acquisition_hub.h"
#include "controller/controller_server.h"
#include "core/command_ids.h"
#include "core/model_codes.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "isa/port_io_server.h"
#include "options/sensor_options_page.h"
#include "options/sensor_options_sheet.h"
#include "options/system_options_dialog.h"
#include "setup/setup_dialogs.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>

#include <cstdlib>

using namespace vornscope;
using vornscope::testing::answerTcpipSetup;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::whenShown;

namespace {

void pressOk(QDialog* dialog)
{
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

QLineEdit* edit(QDialog* dialog, const char* name)
{
    return dialog->findChild<QLineEdit*>(name);
}

// Answers the ISA setup dialogs for one board at 0x300, as the operator would.
void answerIsaSetupForOneBoardAt0x300()
{
    whenShown<IsaSetupDialog>([](IsaSetupDialog* dialog) {
        // The simulated board answers no transmitter-mode or line-frequency question:
        // a short time-out keeps those reads quick.
        edit(dialog, "readTimeout")->setText("300");
        whenShown<UnitDialog>([](UnitDialog* unit) {
            QCOMPARE(unit->findChild<QRadioButton*>("firstChoice")->text(), QStringLiteral("Not StandAlone (1)"));
            edit(unit, "unitValue")->setText(QString::number(0x300));
            pressOk(unit);
        });
        pressOk(dialog);
    });
}

} // namespace

class SimNetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
    }

    void tcpipSetupThenSystemOptions()
    {
        vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(3));
        controller.start();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        answerTcpipSetup(controller.port(), 3);
        frame.onCommand(ID_SETUP_TCPIP);
        QVERIFY2(messages.shown.empty(), messages.shown.empty() ? "" : messages.shown[0].text.c_str());
        QVERIFY(view->state().setUp);
        QCOMPARE(view->document()->textItems().items().at(0).text, std::string("Setup complete"));
        const CVornGroup* group = view->document()->group();
        QCOMPARE(group->transport, Transport::TCPIP);
        QCOMPARE(group->deviceCount, 3);
        QCOMPARE(group->modelCode[1], 0); // the controller's type code 1

        whenShown<SystemOptionsDialog>([](SystemOptionsDialog* dialog) {
            auto* mode = dialog->findChild<QComboBox*>("transmitterMode");
            QCOMPARE(mode->currentText(), QStringLiteral("unavailable"));
            QVERIFY(!mode->isEnabled());
            edit(dialog, "measurementRate")->setText("120");
            pressOk(dialog);
        });
        frame.onCommand(ID_SYSTEM_OPTIONS_TB);
        QVERIFY(messages.shown.empty());
        QTRY_COMPARE_WITH_TIMEOUT(controller.systemConfig().measurementRate, 120.0, 2000);
    }

    void thirtySensorsScrollAndReflowInASmallWindow()
    {
        vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(30));
        controller.start();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.resize(1000, 700);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        ScriptedMessageSink messages;
        answerTcpipSetup(controller.port(), 30);
        frame.onCommand(ID_SETUP_TCPIP);
        QVERIFY(view->state().setUp);
        QWidget* child = view->parentWidget();
        child->resize(child->width() + 640 - view->width(), child->height() + 420 - view->height());
        QTRY_COMPARE(view->size(), QSize(640, 420));

        frame.onCommand(ID_STREAM);
        QTRY_VERIFY_WITH_TIMEOUT(view->acquisition().delivered() >= 5, 15000);
        frame.onCommand(ID_STREAM);
        QTest::qWait(200);
        const auto* scroll = view->findChild<QScrollBar*>("numericScroll");
        QVERIFY(scroll->isVisible());
        QVERIFY(scroll->maximum() > 0);
        // Three blocks a row fit in 640 pixels, and none runs under the scroll bar.
        const CTextItem* last = nullptr;
        for (const CTextItem& item : view->document()->textItems().items()) {
            QVERIFY2(item.x <= 405, item.text.c_str());
            if (item.text == "      Sensor 30")
                last = &item;
        }
        QVERIFY(last != nullptr);
        QVERIFY(last->y + 15 > view->height());
        // Scrolled to the end, the last sensor is on screen.
        QWheelEvent wheel(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120 * 40),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QCOMPARE(scroll->value(), scroll->maximum());
        QVERIFY(last->y - scroll->value() + 15 <= view->height());
        saveScreenshot(&frame, "numeric_30_sensors_scrolled");
    }

    void isaStandAloneBoardSetupThenSensorOptions()
    {
        vorn::sim::PortIoServer boards(vorn::sim::isaStandAloneConfig(0x300));
        boards.start();
        boards.exportEnvironment();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        answerIsaSetupForOneBoardAt0x300();
        frame.onCommand(ID_SETUP_ISA);
        QVERIFY2(messages.shown.empty(), messages.shown.empty() ? "" : messages.shown[0].text.c_str());
        QVERIFY(view->state().setUp);
        const CVornGroup* group = view->document()->group();
        QCOMPARE(group->transport, Transport::ISA);
        QVERIFY(group->standAlone);
        QCOMPARE(group->modelCode[1], 0); // no PV2 switch for this model

        whenShown<SensorOptionsSheet>([](SensorOptionsSheet* sheet) {
            QCOMPARE(sheet->tabs()->count(), 1);
            CSensorOptions* page = sheet->page(0);
            page->findChild<QComboBox*>("maximumRange")->setCurrentIndex(0); // 36
            for (auto* radio : page->findChildren<QRadioButton*>())
                if (radio->text() == "Position Quaternion")
                    radio->setChecked(true);
            pressOk(sheet);
        });
        frame.onCommand(ID_SENSOR_OPTIONS);
        QVERIFY(messages.shown.empty());
        const auto settings = boards.rack().settingsOf(0);
        QVERIFY(settings.has_value());
        QCOMPARE(int(settings->scalingCode), 0);
        QCOMPARE(int(settings->dataFormat), 8);
        frame.onCommand(ID_SHUT_DOWN);
        unsetenv("VORN_PORTIO");
    }

    void isaSetupOfAPellVorn2BoardSwitchesToPv2()
    {
        vorn::sim::IsaConfig config = vorn::sim::pv2Config(0x300);
        config.units.front().model = "PELLVORN2";
        vorn::sim::PortIoServer boards(config);
        boards.start();
        boards.exportEnvironment();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        answerIsaSetupForOneBoardAt0x300();
        frame.onCommand(ID_SETUP_ISA);
        QVERIFY2(messages.shown.empty(), messages.shown.empty() ? "" : messages.shown[0].text.c_str());
        QVERIFY(view->state().setUp);
        const CVornGroup* group = view->document()->group();
        // The board named itself a PELLVORN2: the group was woken again through PV2,
        // the master board and the unit behind it.
        QCOMPARE(group->modelCode[1], kModelPellVorn2);
        QVERIFY(!group->standAlone);
        QCOMPARE(group->deviceCount, 2);
        frame.onCommand(ID_SHUT_DOWN);
        unsetenv("VORN_PORTIO");
    }
};

QTEST_MAIN(SimNetTest)
#include "sim_net_test.moc"
