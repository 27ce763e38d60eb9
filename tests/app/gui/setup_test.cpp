// The setup dialogs, their checks, the wake-up wait, and a setup through the
// view with the real library.
#include "gui/gui_test_support.h"

#include "core/command_ids.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "setup/setup_dialogs.h"
#include "setup/wake_wait.h"
#include "shell/app_settings.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"

#include <vorn/vorn_host.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

using namespace vornscope;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::whenShown;

namespace {

void pressOk(QDialog* dialog)
{
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

void pressCancel(QDialog* dialog)
{
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
}

QLineEdit* edit(QDialog* dialog, const char* name)
{
    return dialog->findChild<QLineEdit*>(name);
}

} // namespace

class SetupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        initialiseSettings();
        // COM1 of this test is a path that does not exist: the wake-up fails at once.
        qputenv("VORN_COM1", QByteArray("/nonexistent/vornscope-test-com1"));
    }

    void rs232DialogDefaultsAndChecks()
    {
        Rs232SetupDialog dialog(Rs232SetupValues {}, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("RS232 Setup"));
        QCOMPARE(edit(&dialog, "numberOfDevices")->text(), QStringLiteral("1"));
        auto* baud = dialog.findChild<QComboBox*>("baudRate");
        QCOMPARE(baud->count(), 7);
        QCOMPARE(baud->currentText(), QStringLiteral("115200"));
        QCOMPARE(edit(&dialog, "readTimeout")->text(), QStringLiteral("2000"));
        QCOMPARE(edit(&dialog, "writeTimeout")->text(), QStringLiteral("2000"));
        dialog.show();
        saveScreenshot(&dialog, "rs232_setup");

        ScriptedMessageSink messages;
        const std::tuple<const char*, const char*, const char*> wrong[] = {
            {"numberOfDevices", "0", "Number of Devices"},   {"numberOfDevices", "121", "Number of Devices"},
            {"numberOfDevices", "two", "Number of Devices"}, {"readTimeout", "-1", "Read Timeout"},
            {"writeTimeout", "4294967296", "Write Timeout"},
        };
        for (const auto& [field, text, label] : wrong) {
            Rs232SetupDialog fresh(Rs232SetupValues {}, nullptr);
            edit(&fresh, field)->setText(QString::fromLatin1(text));
            fresh.accept();
            QCOMPARE(fresh.result(), int(QDialog::Rejected));
            QVERIFY2(!messages.shown.empty(), field);
            const QString shown = QString::fromStdString(messages.shown.back().text);
            QVERIFY2(shown.startsWith(QLatin1String(label)), qPrintable(shown));
        }
        Rs232SetupDialog good(Rs232SetupValues {}, nullptr);
        edit(&good, "numberOfDevices")->setText("120");
        good.findChild<QComboBox*>("baudRate")->setCurrentIndex(2);
        good.accept();
        QCOMPARE(good.result(), int(QDialog::Accepted));
        QCOMPARE(good.values().deviceCount, 120);
        QCOMPARE(good.values().baudIndex, 2);
    }

    void isaAndTcpipDialogs()
    {
        ScriptedMessageSink messages;
        IsaSetupDialog isa(IsaSetupValues {}, nullptr);
        QCOMPARE(isa.windowTitle(), QStringLiteral("ISA Setup"));
        isa.show();
        saveScreenshot(&isa, "isa_setup");
        edit(&isa, "readTimeout")->setText("10001");
        isa.accept();
        QCOMPARE(isa.result(), int(QDialog::Rejected));
        QVERIFY(QString::fromStdString(messages.shown.back().text).startsWith("Read Timeout"));
        edit(&isa, "readTimeout")->setText("10000");
        edit(&isa, "numberOfDevices")->setText("0");
        isa.accept();
        QCOMPARE(isa.result(), int(QDialog::Accepted));

        TcpipSetupDialog tcpip(TcpipSetupValues {}, nullptr);
        QCOMPARE(tcpip.windowTitle(), QStringLiteral("TCPIP Setup"));
        QCOMPARE(edit(&tcpip, "serverPort")->text(), QStringLiteral("6000"));
        tcpip.show();
        saveScreenshot(&tcpip, "tcpip_setup");
        // An address longer than 30 characters is refused, never cut short.
        const QString longName = QStringLiteral("controller.lab-three.example.org");
        QVERIFY(longName.size() > 30);
        edit(&tcpip, "serverAddress")->setText(longName);
        tcpip.accept();
        QCOMPARE(tcpip.result(), int(QDialog::Rejected));
        QVERIFY(QString::fromStdString(messages.shown.back().text).startsWith("Server IP Address"));
        QCOMPARE(edit(&tcpip, "serverAddress")->text(), longName);
        edit(&tcpip, "serverAddress")->setText("127.0.0.1");
        edit(&tcpip, "serverPort")->setText("65536");
        tcpip.accept();
        QCOMPARE(tcpip.result(), int(QDialog::Rejected));
        edit(&tcpip, "serverPort")->setText("6001");
        tcpip.accept();
        QCOMPARE(tcpip.result(), int(QDialog::Accepted));
        QCOMPARE(tcpip.values().port, 6001);
    }

    void unitDialogRadioButtons()
    {
        UnitDialog several(unitDialogLook(Transport::RS232, 3, 2), UnitEntry {0, false}, nullptr);
        QCOMPARE(several.windowTitle(), QStringLiteral("Device 2"));
        auto* first = several.findChild<QRadioButton*>("firstChoice");
        auto* second = several.findChild<QRadioButton*>("secondChoice");
        QCOMPARE(first->text(), QStringLiteral("&Direct"));
        QCOMPARE(second->text(), QStringLiteral("&FVB accessible"));
        QVERIFY(second->isChecked());
        QVERIFY(!edit(&several, "unitValue")->isEnabled());
        first->setChecked(true);
        QVERIFY(edit(&several, "unitValue")->isEnabled());
        several.show();
        saveScreenshot(&several, "device_dialog");

        UnitDialog alone(unitDialogLook(Transport::ISA, 1, 1), UnitEntry {512, true}, nullptr);
        QCOMPARE(alone.findChild<QRadioButton*>("firstChoice")->text(), QStringLiteral("Not StandAlone (1)"));
        alone.findChild<QRadioButton*>("secondChoice")->setChecked(true);
        QVERIFY(edit(&alone, "unitValue")->isEnabled()); // the one-unit case keeps the edit
        ScriptedMessageSink messages;
        edit(&alone, "unitValue")->setText("70000");
        alone.accept();
        QCOMPARE(alone.result(), int(QDialog::Rejected));
        QVERIFY(QString::fromStdString(messages.shown.back().text).startsWith("Base Address (dec)"));
    }

    void wakeWaitCancelEndsTheLibraryWait()
    {
        QWidget parent;
        WakeWait wait(&parent);
        wait.begin();
        auto* dialog = parent.findChild<WakeWaitDialog*>();
        QVERIFY(dialog != nullptr);
        saveScreenshot(dialog, "wake_wait");
        // The pump hook lets Qt run timers during the library's wait; this one cancels it.
        QTimer::singleShot(100, dialog, [dialog] { pressCancel(dialog); });
        QElapsedTimer elapsed;
        elapsed.start();
        const int finished = vornHostPump(5000);
        QCOMPARE(finished, 0); // the wait gave up
        QVERIFY(elapsed.elapsed() < 2000);
        QVERIFY(wait.cancelled());
        wait.end();
        QCOMPARE(vornHostPump(20), 1); // the quit was taken back
    }

    void failedRs232SetupWithRetryThenIgnore()
    {
        CMainFrame frame;
        CChildFrame* child = frame.newDocument();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        ScriptedMessageSink messages;
        messages.answers = {MessageAnswer::Retry, MessageAnswer::Ignore};
        int setupShown = 0;
        std::function<void(Rs232SetupDialog*)> answerSetup = [&](Rs232SetupDialog* dialog) {
            ++setupShown;
            if (setupShown == 1)
                edit(dialog, "readTimeout")->setText("300");
            else
                QCOMPARE(edit(dialog, "readTimeout")->text(), QStringLiteral("300")); // Retry keeps it
            whenShown<UnitDialog>([](UnitDialog* unit) {
                QCOMPARE(unit->windowTitle(), QStringLiteral("Device 1"));
                pressOk(unit);
            });
            pressOk(dialog);
            if (setupShown == 1)
                whenShown<Rs232SetupDialog>(answerSetup);
        };
        whenShown<Rs232SetupDialog>(answerSetup);
        frame.onCommand(ID_SETUP_RS232);
        QCOMPARE(setupShown, 2);
        QCOMPARE(messages.shown.size(), size_t {2});
        QCOMPARE(messages.shown[0].text, std::string("Vorn did not respond properly"));
        QCOMPARE(messages.shown[0].caption, std::string("Error"));
        QVERIFY(messages.shown[0].buttons == MessageButtons::AbortRetryIgnore);
        CVornscopeView* view = child->view();
        QVERIFY(!view->state().setUp);
        const auto& items = view->document()->textItems().items();
        QCOMPARE(items.size(), size_t {1});
        QCOMPARE(items[0].text, std::string("Setup complete")); // Ignore still ends "complete"
        saveScreenshot(&frame, "after_failed_setup");
        messages.shown.clear();
        frame.onCommand(ID_SENSOR_OPTIONS);
        QCOMPARE(messages.shown.at(0).text, std::string("Vorn must be set up first"));
    }

    void tcpipAndIsaSetupsWithoutUnitsEndInTheFailureBox()
    {
        CMainFrame frame;
        CChildFrame* child = frame.newDocument();
        ScriptedMessageSink messages;
        whenShown<TcpipSetupDialog>([](TcpipSetupDialog* dialog) {
            edit(dialog, "serverAddress")->setText("127.0.0.2");
            edit(dialog, "serverPort")->setText("1"); // nothing listens there
            pressOk(dialog);
        });
        frame.onCommand(ID_SETUP_TCPIP);
        QCOMPARE(messages.shown.size(), size_t {1});
        QCOMPARE(messages.shown[0].text, std::string("Vorn did not respond properly"));
        QVERIFY(!child->view()->state().setUp);
        QCOMPARE(child->view()->serverAddress, std::string("127.0.0.2")); // remembered for the run
        QCOMPARE(child->document()->group()->transport, Transport::TCPIP);
        QCOMPARE(child->document()->textItems().items().at(0).text, std::string("Waking up vorn..."));
        whenShown<TcpipSetupDialog>([](TcpipSetupDialog* dialog) {
            QCOMPARE(edit(dialog, "serverAddress")->text(), QStringLiteral("127.0.0.2"));
            pressCancel(dialog);
        });
        frame.onCommand(ID_SETUP_TCPIP);

        messages.shown.clear();
        whenShown<IsaSetupDialog>([](IsaSetupDialog* dialog) {
            whenShown<UnitDialog>([](UnitDialog* unit) {
                QCOMPARE(edit(unit, "unitValue")->text(), QStringLiteral("512"));
                pressOk(unit);
            });
            pressOk(dialog);
        });
        frame.onCommand(ID_SETUP_ISA);
        QCOMPARE(messages.shown.size(), size_t {1});
        QVERIFY(child->document()->group()->failed);
        QCOMPARE(child->document()->group()->transport, Transport::ISA);
    }

    void cancelledSetupWakesNothing()
    {
        CMainFrame frame;
        CChildFrame* child = frame.newDocument();
        ScriptedMessageSink messages;
        whenShown<TcpipSetupDialog>([](TcpipSetupDialog* dialog) {
            QCOMPARE(edit(dialog, "serverAddress")->text(), QStringLiteral("127.0.0.1"));
            pressCancel(dialog);
        });
        frame.onCommand(ID_SETUP_TCPIP);
        QVERIFY(messages.shown.empty());
        QVERIFY(child->document()->group() == nullptr);
        QVERIFY(child->document()->textItems().items().empty());
    }
};

QTEST_MAIN(SetupTest)
#include "setup_test.moc"
