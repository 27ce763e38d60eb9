#include "datafiles/save_data_options_dialog.h"

#include "datafiles/data_file_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vornscope {

SaveDataOptionsDialog::SaveDataOptionsDialog(const QString& target, bool targetOpen, bool sendToTarget, QWidget* parent)
    : QDialog(parent), path_(target), openPath_(targetOpen ? target : QString()), current_(new QLabel(target, this)),
      targetButton_(new QPushButton(targetOpen ? QStringLiteral("Change Target") : QStringLiteral("Set Target"), this)),
      send_(new QRadioButton(QStringLiteral("Send Stream and Point Data to Target File"), this)),
      doNotSend_(new QRadioButton(QStringLiteral("DO NOT Send Data to Target File"), this)),
      close_(new QCheckBox(QStringLiteral("CloseTarget"), this)), outcome_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Save Data Options"));
    current_->setObjectName(QStringLiteral("currentTarget"));
    targetButton_->setObjectName(QStringLiteral("targetButton"));
    send_->setObjectName(QStringLiteral("send"));
    doNotSend_->setObjectName(QStringLiteral("doNotSend"));
    close_->setObjectName(QStringLiteral("closeTarget"));
    outcome_->setObjectName(QStringLiteral("outcome"));
    outcome_->setWordWrap(true);
    outcome_->setMinimumWidth(360);
    // Room for the longest wording, so the dialog keeps its size as it changes.
    outcome_->setMinimumHeight(3 * outcome_->fontMetrics().lineSpacing());
    outcome_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (sendToTarget ? send_ : doNotSend_)->setChecked(true);
    for (QWidget* control :
         {static_cast<QWidget*>(send_), static_cast<QWidget*>(doNotSend_), static_cast<QWidget*>(close_)})
        control->setEnabled(targetOpen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Current Target File:"), this));
    layout->addWidget(current_);
    layout->addWidget(targetButton_);
    layout->addWidget(send_);
    layout->addWidget(doNotSend_);
    layout->addWidget(close_);
    layout->addWidget(outcome_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Enter means OK, not another file chooser.
    targetButton_->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(targetButton_, &QPushButton::clicked, this, &SaveDataOptionsDialog::chooseTarget);
    connect(send_, &QRadioButton::toggled, this, &SaveDataOptionsDialog::showOutcome);
    connect(close_, &QCheckBox::toggled, this, &SaveDataOptionsDialog::showOutcome);
    showOutcome();
}

void SaveDataOptionsDialog::chooseTarget()
{
    const QString chosen = askSavePath(this);
    if (chosen.isEmpty())
        return;
    path_ = chosen;
    current_->setText(chosen);
    // A chosen file can receive data even before it is opened on OK; a
    // target is chosen to receive data, so that is what OK will do.
    send_->setEnabled(true);
    doNotSend_->setEnabled(true);
    send_->setChecked(true);
    showOutcome();
}

QString SaveDataOptionsDialog::outcomeText() const
{
    const QString name = QFileInfo(path_).fileName();
    if (close_->isChecked())
        return tr("OK closes %1: data points are not saved.").arg(name);
    if (path_ != openPath_ && send_->isEnabled()) {
        return send_->isChecked()
                   ? tr("OK creates %1 (an existing file is emptied) and writes every stream and point data point "
                        "to it.")
                         .arg(name)
                   : tr("OK creates %1 empty (an existing file is emptied); data points go to it only once you "
                        "choose to send them.")
                         .arg(name);
    }
    if (!openPath_.isEmpty())
        return send_->isChecked() ? tr("Stream and point data go to %1.").arg(name)
                                  : tr("Data points do not go to %1.").arg(name);
    return tr("No target file: data points are not saved.");
}

void SaveDataOptionsDialog::showOutcome()
{
    outcome_->setText(outcomeText());
}

bool SaveDataOptionsDialog::send() const
{
    return send_->isChecked();
}
bool SaveDataOptionsDialog::closeTarget() const
{
    return close_->isChecked();
}

} // namespace vornscope
