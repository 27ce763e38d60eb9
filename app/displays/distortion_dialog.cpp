#include "displays/distortion_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace vornscope {
namespace {

struct FieldSpec {
    const char* label;
    const char* name;
    int low;
    int high;
};

constexpr FieldSpec kFields[] = {
    {"Sensitivity", "sensitivity", 0, 127},
    {"Offset", "offset", -127, 127},
    {"Slope", "slope", -127, 127},
    {"Alpha", "alpha", 0, 127},
};

} // namespace

DistortionDialog::DistortionDialog(const CVornGroup& group, int selectedUnit, bool distortionOn, QWidget* parent)
    : QDialog(parent), group_(group), sensor_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Distortion Detection Options"));
    auto* form = new QFormLayout(this);
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(kFields[i].name));
        edit->setValidator(new QIntValidator(kFields[i].low, kFields[i].high, edit));
        connect(edit, &QLineEdit::textChanged, this, [this, i] { edited_[i] = true; });
        form->addRow(QString::fromLatin1(kFields[i].label), edit);
        edits_[i] = edit;
    }
    sensor_->setObjectName(QStringLiteral("distortionSensor"));
    for (int unit = 1; unit <= group.deviceCount; ++unit)
        if (group.distortionParams[static_cast<std::size_t>(unit)].supported)
            sensor_->addItem(QString::asprintf("%i", unit), unit);
    form->addRow(QStringLiteral("Distortion Bar Sensor"), sensor_);
    const int index = sensor_->findData(selectedUnit);
    sensor_->setCurrentIndex(index >= 0 ? index : 0);
    loadUnit(chosenUnit());
    connect(sensor_, &QComboBox::currentIndexChanged, this, [this] { loadUnit(chosenUnit()); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* defaults = buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ActionRole);
    auto* stop = buttons->addButton(QStringLiteral("Stop Distortion"), QDialogButtonBox::ActionRole);
    stop->setObjectName(QStringLiteral("stopDistortion"));
    stop->setEnabled(distortionOn);
    connect(defaults, &QPushButton::clicked, this, &QDialog::accept);
    connect(stop, &QPushButton::clicked, this, [this] {
        stop_ = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

int DistortionDialog::chosenUnit() const
{
    return sensor_->currentData().toInt();
}

void DistortionDialog::loadUnit(int unit)
{
    if (unit < 1 || unit >= VORN_UNIT_COUNT)
        return;
    const DistortionParams& params = group_.distortionParams[static_cast<std::size_t>(unit)];
    const int values[] = {params.sensitivity, params.offset, params.slope, params.alpha};
    for (std::size_t i = 0; i < edits_.size(); ++i)
        edits_[i]->setText(QString::number(values[i]));
}

std::array<int, 4> DistortionDialog::values() const
{
    std::array<int, 4> result {};
    for (std::size_t i = 0; i < edits_.size(); ++i)
        result[i] = std::clamp(edits_[i]->text().toInt(), kFields[i].low, kFields[i].high);
    return result;
}

} // namespace vornscope
