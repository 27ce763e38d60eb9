// Vornscope against the unit simulator over pseudo-terminals: RS232 setups
// through the real dialogs to "Setup complete", then the options commands,
// checked by what the simulated units received and now hold.
#include "gui/gui_test_support.h"

#include "core/command_ids.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "options/sensor_options_page.h"
#include "options/sensor_options_sheet.h"
#include "options/system_options_dialog.h"
#include "setup/setup_dialogs.h"
#include "setup/wake_wait.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "simulator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

using namespace vornscope;
using vornscope::testing::pressOk;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::setUpRs232;
using vornscope::testing::whenShown;

namespace {

bool contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

} // namespace

class SimRs232Test : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
    }

    void standAloneUnitWithTheDefaults()
    {
        vorn::sim::Simulator simulator(vorn::sim::standAloneConfig());
        simulator.start();
        simulator.exportEnvironment();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        setUpRs232(frame, 1);
        QVERIFY2(messages.shown.empty(), messages.shown.empty() ? "" : messages.shown[0].text.c_str());
        QVERIFY(view->state().setUp);
        QCOMPARE(view->document()->textItems().items().at(0).text, std::string("Setup complete"));
        const CVornGroup* group = view->document()->group();
        QVERIFY(group->standAlone);
        QVERIFY(group->sensorPresent[1]);
        QCOMPARE(group->modelCode[1], 0);
        frame.onCommand(ID_SHUT_DOWN);
        QVERIFY(!view->state().setUp);
        QVERIFY(view->document()->textItems().items().empty());
    }

    void theWindowStaysAliveDuringTheWakeUpAndCancelEndsIt()
    {
        vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(2));
        simulator.start();
        simulator.exportEnvironment();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.show();
        ScriptedMessageSink messages;
        QString shownWhileWaiting;
        bool closedWhileWaiting = true;
        whenShown<WakeWaitDialog>([&](WakeWaitDialog* wait) {
            // Qt keeps running timers inside the library's wait: this one fires after a second.
            QTimer::singleShot(1200, wait, [&, wait] {
                shownWhileWaiting = wait->findChild<QLabel*>()->text();
                saveScreenshot(&frame, wait, "waking_up");
                closedWhileWaiting = frame.close(); // refused: the command still uses the window
                wait->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
            });
        });
        QElapsedTimer elapsed;
        elapsed.start();
        setUpRs232(frame, 2);
        QVERIFY2(elapsed.elapsed() < 4000, "the wake-up did not give up when cancelled");
        QVERIFY2(shownWhileWaiting.startsWith("Waking up vorn... 1."), qPrintable(shownWhileWaiting));
        QVERIFY(!closedWhileWaiting);
        QVERIFY(messages.shown.empty()); // a cancel is no failure
        QVERIFY(!view->state().setUp);
        QCOMPARE(view->document()->textItems().items().at(0).text, std::string("Waking up vorn..."));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void vornsetSetupThenSystemAndSensorOptions()
    {
        vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(3));
        simulator.start();
        simulator.exportEnvironment();
        CMainFrame frame;
        CVornscopeView* view = frame.newDocument()->view();
        frame.resize(900, 600);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        ScriptedMessageSink messages;

        setUpRs232(frame, 3);
        QVERIFY2(messages.shown.empty(), messages.shown.empty() ? "" : messages.shown[0].text.c_str());
        QVERIFY(view->state().setUp);
        const CVornGroup* group = view->document()->group();
        QCOMPARE(group->deviceCount, 3);
        QVERIFY(!group->standAlone);
        for (int unit = 1; unit <= 3; ++unit) {
            QVERIFY(group->sensorPresent[unit]);
            QCOMPARE(group->modelCode[unit], 0);
        }
        QVERIFY(frame.action(ID_STREAM)->isEnabled());
        QVERIFY(frame.action(ID_SENSOR_OPTIONS_TB)->isEnabled());
        saveScreenshot(&frame, "setup_complete");

        // System Options: only "Show Times" changes; the transmitter is still selected.
        simulator.line(1).received().clear();
        whenShown<SystemOptionsDialog>([](SystemOptionsDialog* dialog) {
            QVERIFY(dialog->findChild<QLineEdit*>("measurementRate")->text().startsWith("103."));
            saveScreenshot(dialog, "system_options_live");
            dialog->findChild<QCheckBox*>("showTimes")->setChecked(true);
            pressOk(dialog);
        });
        frame.onCommand(ID_SYSTEM_OPTIONS);
        QVERIFY(view->showTimes);
        const int transmitter = group->activeTransmitter;
        QVERIFY(transmitter >= 1);
        // The simulator logs on its own thread: wait for the bytes to show up.
        const std::vector<std::uint8_t> select {0x30, static_cast<std::uint8_t>(transmitter * 16), 0x00};
        QTRY_VERIFY_WITH_TIMEOUT(contains(simulator.line(1).received().bytes(), select), 2000);

        // Sensor Options: sensor 1's page, position only at 36 inches, for all units after it too.
        whenShown<SensorOptionsSheet>([](SensorOptionsSheet* sheet) {
            QCOMPARE(sheet->tabs()->count(), 3);
            saveScreenshot(sheet, "sensor_options_live");
            CSensorOptions* page = sheet->page(0);
            for (auto* radio : page->findChildren<QRadioButton*>())
                if (radio->text() == "Position")
                    radio->setChecked(true);
            page->findChild<QComboBox*>("maximumRange")->setCurrentIndex(0);
            page->findChild<QCheckBox*>("configureAllAfter")->setChecked(true);
            page->findChild<QLineEdit*>("Angle Align az")->setText("90");
            pressOk(sheet);
        });
        frame.onCommand(ID_SENSOR_OPTIONS_TB);
        QVERIFY(messages.shown.empty());
        for (std::uint8_t unit = 1; unit <= 3; ++unit) {
            const auto settings = simulator.unitSettings(unit);
            QVERIFY(settings.has_value());
            QCOMPARE(int(settings->dataFormat), 1);
            QCOMPARE(int(settings->scalingCode), 0);
            QCOMPARE(int(settings->angleAlign[0]), 16383);
            QCOMPARE(int(settings->lineFrequency), 60);
        }
        QVERIFY(view->document()->textItems().items().empty()); // the view was cleared
    }
};

QTEST_MAIN(SimRs232Test)
#include "sim_rs232_test.moc"
