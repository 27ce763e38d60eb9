#include "datafiles/save_data_options_dialog.h"

#include "datafiles/data_file_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vornscope {

SaveDataOptionsDialog::SaveDataOptionsDialog(const QString& target, bool targetOpen, bool sendToTarget,
                                             QWidget* parent)
    : QDialog(parent),
      path_(target),
      current_(new QLabel(target, this)),
      targetButton_(new QPushButton(targetOpen ? QStringLiteral("Change Target") : QStringLiteral("Set Target"), this)),
      send_(new QRadioButton(QStringLiteral("Send Stream and Point Data to Target File"), this)),
      doNotSend_(new QRadioButton(QStringLiteral("DO NOT Send Data to Target File"), this)),
      close_(new QCheckBox(QStringLiteral("CloseTarget"), this))
{
    setWindowTitle(QStringLiteral("Save Data Options"));
    current_->setObjectName(QStringLiteral("currentTarget"));
    targetButton_->setObjectName(QStringLiteral("targetButton"));
    send_->setObjectName(QStringLiteral("send"));
    doNotSend_->setObjectName(QStringLiteral("doNotSend"));
    close_->setObjectName(QStringLiteral("closeTarget"));
    (sendToTarget ? send_ : doNotSend_)->setChecked(true);
    for (QWidget* control : {static_cast<QWidget*>(send_), static_cast<QWidget*>(doNotSend_),
                             static_cast<QWidget*>(close_)})
        control->setEnabled(targetOpen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Current Target File:"), this));
    layout->addWidget(current_);
    layout->addWidget(targetButton_);
    layout->addWidget(send_);
    layout->addWidget(doNotSend_);
    layout->addWidget(close_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(targetButton_, &QPushButton::clicked, this, &SaveDataOptionsDialog::chooseTarget);
}

void SaveDataOptionsDialog::chooseTarget()
{
    const QString chosen = askSavePath(this);
    if (chosen.isEmpty())
        return;
    path_ = chosen;
    current_->setText(chosen);
    // A chosen file can receive data even before it is opened on OK.
    send_->setEnabled(true);
    doNotSend_->setEnabled(true);
}

bool SaveDataOptionsDialog::send() const { return send_->isChecked(); }
bool SaveDataOptionsDialog::closeTarget() const { return close_->isChecked(); }

} // namespace vornscope
