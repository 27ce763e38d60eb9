#include "options/system_options_dialog.h"

#include "shell/field_checks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vornscope {
namespace {

// The rate must stay positive; the controller's field holds at most 999.999 Hz.
constexpr double kMinRate = 0.001;
constexpr double kMaxRate = 999.999;
constexpr int kMaxSamplesPerPoint = 10000;

} // namespace

SystemOptionsDialog::SystemOptionsDialog(const SystemOptionsValues& values, QWidget* parent)
    : QDialog(parent), values_(values)
{
    setWindowTitle(QStringLiteral("System Options"));
    auto* form = new QFormLayout;
    rate_ = new QLineEdit(QString::number(values.measurementRate, 'f', 3));
    rate_->setObjectName(QStringLiteral("measurementRate"));
    form->addRow(QStringLiteral("Measurement Rate"), rate_);
    samples_ = new QLineEdit(QString::number(values.samplesPerPoint));
    samples_->setObjectName(QStringLiteral("samplesPerPoint"));
    form->addRow(QStringLiteral("Samples per Data Point"), samples_);

    transmitter_ = new QComboBox;
    transmitter_->setObjectName(QStringLiteral("activeTransmitter"));
    for (const int unit : values.transmitterUnits)
        transmitter_->addItem(QString::asprintf("%i", unit), unit);
    transmitter_->setCurrentIndex(std::max(0, transmitter_->findData(values.activeTransmitter)));
    form->addRow(QStringLiteral("Active Transmitter"), transmitter_);

    mode_ = new QComboBox;
    mode_->setObjectName(QStringLiteral("transmitterMode"));
    if (values.transmitterMode) {
        for (const char* name : kTransmitterModeNames)
            mode_->addItem(QString::fromLatin1(name));
        mode_->setCurrentIndex(*values.transmitterMode);
    } else {
        mode_->addItem(QString::fromLatin1(kModeUnavailable));
        mode_->setEnabled(false);
    }
    form->addRow(QStringLiteral("Transmitter Operation Mode"), mode_);

    showTimes_ = new QCheckBox(QStringLiteral("Show Times"));
    showTimes_->setObjectName(QStringLiteral("showTimes"));
    showTimes_->setChecked(values.showTimes);
    form->addRow(showTimes_);
    transmitterOn_ = new QCheckBox(QStringLiteral("Transmitter On"));
    transmitterOn_->setObjectName(QStringLiteral("transmitterOn"));
    transmitterOn_->setChecked(values.transmitterOn);
    form->addRow(transmitterOn_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SystemOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SystemOptionsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void SystemOptionsDialog::accept()
{
    const auto rate = readReal(rate_, QStringLiteral("Measurement Rate"), kMinRate, kMaxRate);
    if (!rate)
        return;
    const auto samples = readInteger(samples_, QStringLiteral("Samples per Data Point"), 1, kMaxSamplesPerPoint);
    if (!samples)
        return;
    values_.measurementRate = *rate;
    values_.samplesPerPoint = static_cast<int>(*samples);
    if (transmitter_->count() > 0)
        values_.activeTransmitter = transmitter_->currentData().toInt();
    if (values_.transmitterMode)
        values_.transmitterMode = mode_->currentIndex();
    values_.showTimes = showTimes_->isChecked();
    values_.transmitterOn = transmitterOn_->isChecked();
    QDialog::accept();
}

} // namespace vornscope
