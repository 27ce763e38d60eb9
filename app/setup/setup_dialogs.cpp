#include "setup/setup_dialogs.h"

#include "shell/field_checks.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace vornscope {
namespace {

constexpr long long kMaxUnsigned = std::numeric_limits<std::uint32_t>::max();

} // namespace

SetupFormDialog::SetupFormDialog(const QString& title, QWidget* parent) : QDialog(parent), form_(new QFormLayout)
{
    setWindowTitle(title);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SetupFormDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetupFormDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addWidget(buttons);
}

void SetupFormDialog::accept()
{
    if (readFields())
        QDialog::accept();
}

QLineEdit* SetupFormDialog::addEdit(const QString& label, const QString& name, const QString& value)
{
    auto* edit = new QLineEdit(value);
    edit->setObjectName(name);
    form_->addRow(label, edit);
    return edit;
}

Rs232SetupDialog::Rs232SetupDialog(const Rs232SetupValues& values, QWidget* parent)
    : SetupFormDialog(QStringLiteral("RS232 Setup"), parent), values_(values)
{
    count_ = addEdit(QStringLiteral("Number of Devices"), QStringLiteral("numberOfDevices"),
                     QString::number(values.deviceCount));
    baud_ = new QComboBox;
    baud_->setObjectName(QStringLiteral("baudRate"));
    for (const auto rate : kBaudRates)
        baud_->addItem(QString::number(rate));
    baud_->setCurrentIndex(values.baudIndex);
    form()->addRow(QStringLiteral("Baud Rate"), baud_);
    readTimeout_ =
        addEdit(QStringLiteral("Read Timeout"), QStringLiteral("readTimeout"), QString::number(values.readTimeout));
    writeTimeout_ =
        addEdit(QStringLiteral("Write Timeout"), QStringLiteral("writeTimeout"), QString::number(values.writeTimeout));
}

bool Rs232SetupDialog::readFields()
{
    const auto count = readInteger(count_, QStringLiteral("Number of Devices"), 1, 120);
    if (!count)
        return false;
    const auto readTimeout = readInteger(readTimeout_, QStringLiteral("Read Timeout"), 0, kMaxUnsigned);
    if (!readTimeout)
        return false;
    const auto writeTimeout = readInteger(writeTimeout_, QStringLiteral("Write Timeout"), 0, kMaxUnsigned);
    if (!writeTimeout)
        return false;
    values_.deviceCount = static_cast<int>(*count);
    values_.baudIndex = baud_->currentIndex();
    values_.readTimeout = static_cast<std::uint32_t>(*readTimeout);
    values_.writeTimeout = static_cast<std::uint32_t>(*writeTimeout);
    return true;
}

IsaSetupDialog::IsaSetupDialog(const IsaSetupValues& values, QWidget* parent)
    : SetupFormDialog(QStringLiteral("ISA Setup"), parent), values_(values)
{
    count_ = addEdit(QStringLiteral("Number of Devices"), QStringLiteral("numberOfDevices"),
                     QString::number(values.deviceCount));
    readTimeout_ =
        addEdit(QStringLiteral("Read Timeout"), QStringLiteral("readTimeout"), QString::number(values.readTimeout));
    writeTimeout_ =
        addEdit(QStringLiteral("Write Timeout"), QStringLiteral("writeTimeout"), QString::number(values.writeTimeout));
}

bool IsaSetupDialog::readFields()
{
    const auto count = readInteger(count_, QStringLiteral("Number of Devices"), 0, 120);
    if (!count)
        return false;
    const auto readTimeout = readInteger(readTimeout_, QStringLiteral("Read Timeout"), 0, 10000);
    if (!readTimeout)
        return false;
    const auto writeTimeout = readInteger(writeTimeout_, QStringLiteral("Write Timeout"), 0, 10000);
    if (!writeTimeout)
        return false;
    values_.deviceCount = static_cast<int>(*count);
    values_.readTimeout = static_cast<std::uint32_t>(*readTimeout);
    values_.writeTimeout = static_cast<std::uint32_t>(*writeTimeout);
    return true;
}

TcpipSetupDialog::TcpipSetupDialog(const TcpipSetupValues& values, QWidget* parent)
    : SetupFormDialog(QStringLiteral("TCPIP Setup"), parent), values_(values)
{
    server_ = addEdit(QStringLiteral("Server IP Address"), QStringLiteral("serverAddress"),
                      QString::fromStdString(values.serverAddress));
    count_ = addEdit(QStringLiteral("Number of Devices"), QStringLiteral("numberOfDevices"),
                     QString::number(values.deviceCount));
    port_ = addEdit(QStringLiteral("Server IP Port"), QStringLiteral("serverPort"), QString::number(values.port));
}

bool TcpipSetupDialog::readFields()
{
    const auto server = readText(server_, QStringLiteral("Server IP Address"), kMaxServerAddress);
    if (!server)
        return false;
    const auto count = readInteger(count_, QStringLiteral("Number of Devices"), 0, 120);
    if (!count)
        return false;
    const auto port = readInteger(port_, QStringLiteral("Server IP Port"), 0, 65535);
    if (!port)
        return false;
    values_.serverAddress = server->toStdString();
    values_.deviceCount = static_cast<int>(*count);
    values_.port = static_cast<std::uint16_t>(*port);
    return true;
}

UnitDialog::UnitDialog(const UnitDialogLook& look, const UnitEntry& entry, QWidget* parent)
    : SetupFormDialog(QString::fromStdString(look.title), parent), look_(look), entry_(entry)
{
    value_ = addEdit(QString::fromStdString(look.label), QStringLiteral("unitValue"), QString::number(entry.value));
    first_ = new QRadioButton(QString::fromStdString(look.firstCaption));
    first_->setObjectName(QStringLiteral("firstChoice"));
    second_ = new QRadioButton(QString::fromStdString(look.secondCaption));
    second_->setObjectName(QStringLiteral("secondChoice"));
    form()->addRow(first_);
    form()->addRow(second_);
    (entry.firstSelected ? first_ : second_)->setChecked(true);
    connect(first_, &QRadioButton::toggled, this, &UnitDialog::updateEdit);
    updateEdit();
}

void UnitDialog::updateEdit()
{
    value_->setEnabled(unitEditEnabled(look_, first_->isChecked()));
}

bool UnitDialog::readFields()
{
    entry_.firstSelected = first_->isChecked();
    if (!value_->isEnabled()) {
        // A disabled edit cannot be corrected: keep its number when it reads, else the last one.
        bool ok = false;
        const int value = value_->text().trimmed().toInt(&ok);
        if (ok && value >= 0 && value <= 65535)
            entry_.value = value;
        return true;
    }
    const auto value = readInteger(value_, QString::fromStdString(look_.label), 0, 65535);
    if (!value)
        return false;
    entry_.value = static_cast<int>(*value);
    return true;
}

} // namespace vornscope
