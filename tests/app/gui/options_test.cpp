// The Sensor Options sheet and its pages, the Filter Parameters dialog and
// the System Options dialog.
#include "gui/gui_test_support.h"

#include "options/filter_parameters_dialog.h"
#include "options/sensor_options_page.h"
#include "options/sensor_options_sheet.h"
#include "options/system_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

using namespace vornscope;
using vornscope::testing::saveScreenshot;
using vornscope::testing::ScriptedMessageSink;
using vornscope::testing::whenShown;

namespace {

SensorPageValues samplePage()
{
    VornDeviceConfig config {};
    config.dataFormat = 4;
    config.setup = 0x05;
    config.scaling = 72;
    config.hemisphere = 2;
    for (int k = 0; k < VORN_FILTER_ENTRIES; ++k) {
        config.alphaMin[k] = 8192;
        config.alphaMax[k] = 29491;
        config.vm[k] = static_cast<std::uint16_t>(1000 + 100 * k);
    }
    config.angleAlign[0] = 16383;
    return pageFromConfig(config, 0, 60);
}

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sheetHasOnePagePerSensor()
    {
        SensorOptionsSheet sheet({samplePage(), samplePage(), samplePage()}, nullptr);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Sensor Options"));
        QCOMPARE(sheet.tabs()->count(), 3);
        QCOMPARE(sheet.tabs()->tabText(2), QStringLiteral("Sensor 3"));
        CSensorOptions* page = sheet.page(0);
        QStringList formats;
        for (auto* radio : page->findChildren<QRadioButton*>())
            formats << radio->text();
        for (const char* name : {"Position", "Angle", "Position Angle", "Matrix", "Position Matrix", "Quaternion",
                                 "Position Quaternion", "Front", "Back", "Top", "Bottom", "Left", "Right"})
            QVERIFY2(formats.contains(QLatin1String(name)), name);
        QStringList checks;
        for (auto* check : page->findChildren<QCheckBox*>())
            checks << check->text();
        for (const char* name : {"AC Narrow Notch", "AC Wide Notch", "Large Change", "DC ", "XYZ Reference Frame",
                                 "Append Button Data (mouse)", "Configure all after this the same"})
            QVERIFY2(checks.contains(QLatin1String(name)), name);
        auto* range = page->findChild<QComboBox*>("maximumRange");
        QCOMPARE(range->count(), 4);
        QCOMPARE(range->currentText(), QStringLiteral("72"));
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        saveScreenshot(&sheet, "sensor_options");
    }

    void pageReadsBackWhatWasChosen()
    {
        SensorOptionsSheet sheet({samplePage(), samplePage()}, nullptr);
        CSensorOptions* second = sheet.page(1);
        for (auto* radio : second->findChildren<QRadioButton*>())
            if (radio->text() == "Quaternion" || radio->text() == "Right")
                radio->setChecked(true);
        second->findChild<QComboBox*>("maximumRange")->setCurrentIndex(2);
        second->findChild<QCheckBox*>("configureAllAfter")->setChecked(true);
        second->findChild<QLineEdit*>("Reference Frame rl")->setText("-45.5");
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        const auto pages = sheet.pages();
        QCOMPARE(pages[1].formatIndex, 5);
        QCOMPARE(pages[1].hemisphere, 5);
        QCOMPARE(pages[1].range, 144);
        QVERIFY(pages[1].configureAllAfter);
        QCOMPARE(pages[1].referenceFrame[2], -45.5);
        QCOMPARE(pages[0].formatIndex, 2);
        QVERIFY(pages[0].bit(SetupBit::Dc));
        QVERIFY(pages[0].bit(SetupBit::NarrowNotch));
    }

    void wrongAngleIsRefusedOnItsOwnPage()
    {
        ScriptedMessageSink messages;
        SensorOptionsSheet sheet({samplePage(), samplePage()}, nullptr);
        sheet.page(1)->findChild<QLineEdit*>("Angle Align el")->setText("181");
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QCOMPARE(sheet.tabs()->currentIndex(), 1);
        QVERIFY(QString::fromStdString(messages.shown.back().text).startsWith("Angle Align el"));
        sheet.page(1)->findChild<QLineEdit*>("Angle Align el")->setText("abc");
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
    }

    void extendedRangeLocksTheRangeList()
    {
        VornDeviceConfig config {};
        config.scaling = 144;
        CSensorOptions page(pageFromConfig(config, 0x80, 60));
        auto* range = page.findChild<QComboBox*>("maximumRange");
        QVERIFY(!range->isEnabled());
        QCOMPARE(range->currentText(), QStringLiteral("144"));
    }

    void filterParametersSlidersAndEdits()
    {
        FilterParametersDialog dialog(samplePage(), nullptr);
        QCOMPARE(dialog.tabs()->count(), 4);
        const QStringList tabs {"Alpha Min", "Alpha Max", "Vm", "Line Frequency"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(dialog.tabs()->tabText(i), tabs[i]);
        for (const char* table : {"Alpha Min", "Alpha Max", "Vm"})
            for (int k = 0; k < 7; ++k)
                QVERIFY(dialog.findChild<QSlider*>(QStringLiteral("%1 slider %2").arg(table).arg(k)) != nullptr);

        auto* slider = dialog.findChild<QSlider*>("Alpha Min slider 0");
        auto* edit = dialog.findChild<QLineEdit*>("Alpha Min edit 0");
        QCOMPARE(edit->text(), QStringLiteral("0.2500"));
        QCOMPARE(edit->toolTip(), QStringLiteral("8192"));
        QCOMPARE(slider->value(), 32767 - 8191);
        QVERIFY(slider->invertedAppearance()); // the top means 1.0
        slider->setValue(16383);               // the middle
        QCOMPARE(edit->text(), QStringLiteral("0.5000"));
        QCOMPARE(edit->toolTip(), QStringLiteral("16384"));
        edit->setText("0.75");
        Q_EMIT edit->editingFinished();
        QCOMPARE(slider->value(), 32767 - 24575);

        auto* vmSlider = dialog.findChild<QSlider*>("Vm slider 3");
        auto* vmEdit = dialog.findChild<QLineEdit*>("Vm edit 3");
        QCOMPARE(vmEdit->text(), QStringLiteral("1300"));
        QCOMPARE(vmSlider->minimum(), 1);
        vmSlider->setValue(32000);
        QCOMPARE(vmEdit->text(), QStringLiteral("768"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        saveScreenshot(&dialog, "filter_parameters");

        ScriptedMessageSink messages;
        dialog.findChild<QLineEdit*>("lineFrequency")->setText("0");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.tabs()->currentIndex(), 3);
        QVERIFY(QString::fromStdString(messages.shown.back().text).startsWith("Filter Line Frequency"));
        dialog.findChild<QLineEdit*>("lineFrequency")->setText("50");
        dialog.findChild<QLineEdit*>("Alpha Max edit 6")->setText("1.5");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.tabs()->currentIndex(), 1);
        dialog.findChild<QLineEdit*>("Alpha Max edit 6")->setText("1");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.page().alphaMin[0], 0.75);
        QCOMPARE(dialog.page().alphaMax[6], 1.0);
        QCOMPARE(dialog.page().vm[3], 768);
        QCOMPARE(dialog.page().lineFrequency, 50);
    }

    void lineFrequencyNeverReadShowsNoValue()
    {
        SensorPageValues values;
        values.lineFrequency = kLineFrequencyNotRead;
        FilterParametersDialog dialog(values, nullptr);
        auto* edit = dialog.findChild<QLineEdit*>("lineFrequency");
        QVERIFY(edit->text().isEmpty());
        QVERIFY(!edit->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.page().lineFrequency, kLineFrequencyNotRead);
    }

    void filterButtonCopiesIntoThePageOnlyOnOk()
    {
        CSensorOptions page(samplePage());
        whenShown<FilterParametersDialog>([](FilterParametersDialog* dialog) {
            dialog->findChild<QLineEdit*>("lineFrequency")->setText("50");
            dialog->reject();
        });
        page.openFilterParameters();
        QCOMPARE(page.values().lineFrequency, 60);
        whenShown<FilterParametersDialog>([](FilterParametersDialog* dialog) {
            dialog->findChild<QLineEdit*>("lineFrequency")->setText("50");
            dialog->accept();
        });
        page.openFilterParameters();
        QCOMPARE(page.values().lineFrequency, 50);
    }

    void systemOptionsDialog()
    {
        SystemOptionsValues values;
        values.measurementRate = 103.3;
        values.samplesPerPoint = 5;
        values.transmitterUnits = {1, 3};
        values.activeTransmitter = 3;
        values.transmitterMode = 1;
        values.transmitterOn = true;
        SystemOptionsDialog dialog(values, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("System Options"));
        auto* transmitter = dialog.findChild<QComboBox*>("activeTransmitter");
        QCOMPARE(transmitter->count(), 2);
        QCOMPARE(transmitter->currentText(), QStringLiteral("3"));
        auto* mode = dialog.findChild<QComboBox*>("transmitterMode");
        QCOMPARE(mode->currentText(), QStringLiteral("Pulsed"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        saveScreenshot(&dialog, "system_options");

        ScriptedMessageSink messages;
        dialog.findChild<QLineEdit*>("samplesPerPoint")->setText("0");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(QString::fromStdString(messages.shown.back().text).startsWith("Samples per Data Point"));
        dialog.findChild<QLineEdit*>("samplesPerPoint")->setText("8");
        dialog.findChild<QLineEdit*>("measurementRate")->setText("fast");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.findChild<QLineEdit*>("measurementRate")->setText("120");
        transmitter->setCurrentIndex(0);
        mode->setCurrentIndex(2);
        dialog.findChild<QCheckBox*>("showTimes")->setChecked(true);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.values().measurementRate, 120.0);
        QCOMPARE(dialog.values().samplesPerPoint, 8);
        QCOMPARE(dialog.values().activeTransmitter, 1);
        QCOMPARE(dialog.values().transmitterMode, std::optional<int>(2));
        QVERIFY(dialog.values().showTimes);

        SystemOptionsValues tcpip = values;
        tcpip.transmitterMode.reset();
        SystemOptionsDialog unavailable(tcpip, nullptr);
        auto* none = unavailable.findChild<QComboBox*>("transmitterMode");
        QCOMPARE(none->currentText(), QStringLiteral("unavailable"));
        QVERIFY(!none->isEnabled());
    }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
