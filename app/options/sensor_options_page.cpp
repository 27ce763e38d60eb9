#include "options/sensor_options_page.h"

#include "options/filter_parameters_dialog.h"
#include "shell/field_checks.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vornscope {
namespace {

const char* const kAngleNames[] = {"az", "el", "rl"};

} // namespace

CSensorOptions::CSensorOptions(const SensorPageValues& values, QWidget* parent) : QWidget(parent), values_(values)
{
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildFormats(), 0, 0, 2, 1);
    grid->addWidget(buildFilters(), 0, 1);
    grid->addWidget(buildHemisphere(), 1, 1);
    grid->addWidget(buildAngles(QStringLiteral("Angle Align"), values_.angleAlign, angleAlign_), 0, 2);
    grid->addWidget(buildAngles(QStringLiteral("Reference Frame"), values_.referenceFrame, referenceFrame_), 1, 2);

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(QStringLiteral("Maximum Range")));
    range_ = new QComboBox;
    range_->setObjectName(QStringLiteral("maximumRange"));
    for (const int range : kRanges)
        range_->addItem(QString::number(range), range);
    const int rangeIndex = range_->findData(values_.range);
    range_->setCurrentIndex(rangeIndex < 0 ? 1 : rangeIndex);
    range_->setEnabled(values_.rangeEnabled);
    rangeRow->addWidget(range_);
    auto* filterButton = new QPushButton(QStringLiteral("Filter Parameters"));
    filterButton->setObjectName(QStringLiteral("filterParameters"));
    connect(filterButton, &QPushButton::clicked, this, &CSensorOptions::openFilterParameters);
    rangeRow->addStretch();
    rangeRow->addWidget(filterButton);
    grid->addLayout(rangeRow, 2, 0, 1, 3);

    configureAll_ = new QCheckBox(QStringLiteral("Configure all after this the same"));
    configureAll_->setObjectName(QStringLiteral("configureAllAfter"));
    configureAll_->setChecked(values_.configureAllAfter);
    grid->addWidget(configureAll_, 3, 0, 1, 3);
}

QWidget* CSensorOptions::buildFormats()
{
    auto* box = new QGroupBox(QStringLiteral("Data Format"));
    auto* layout = new QVBoxLayout(box);
    formats_ = new QButtonGroup(this);
    int index = 0;
    for (const auto& format : dataFormats()) {
        auto* button = new QRadioButton(QString::fromLatin1(format.label));
        button->setChecked(index == values_.formatIndex);
        formats_->addButton(button, index++);
        layout->addWidget(button);
    }
    layout->addStretch();
    return box;
}

QWidget* CSensorOptions::buildFilters()
{
    auto* box = new QGroupBox(QStringLiteral("Filters"));
    auto* layout = new QVBoxLayout(box);
    for (const auto& entry : setupBits()) {
        auto* check = new QCheckBox(QString::fromLatin1(entry.label));
        check->setChecked(values_.bit(entry.which));
        bits_[static_cast<std::size_t>(entry.which)] = check;
        layout->addWidget(check);
    }
    return box;
}

QWidget* CSensorOptions::buildHemisphere()
{
    auto* box = new QGroupBox(QStringLiteral("Hemisphere"));
    auto* layout = new QGridLayout(box);
    hemisphere_ = new QButtonGroup(this);
    for (int code = 0; code < static_cast<int>(kHemispheres.size()); ++code) {
        auto* button = new QRadioButton(QString::fromLatin1(kHemispheres[static_cast<std::size_t>(code)]));
        button->setChecked(code == values_.hemisphere);
        hemisphere_->addButton(button, code);
        layout->addWidget(button, code / 2, code % 2);
    }
    return box;
}

QWidget* CSensorOptions::buildAngles(const QString& title, const std::array<double, 3>& angles,
                                     std::array<QLineEdit*, 3>& edits)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QGridLayout(box);
    for (std::size_t k = 0; k < 3; ++k) {
        layout->addWidget(new QLabel(QLatin1String(kAngleNames[k])), static_cast<int>(k), 0);
        edits[k] = new QLineEdit(QString::number(angles[k], 'f', 2));
        edits[k]->setObjectName(QStringLiteral("%1 %2").arg(title, QLatin1String(kAngleNames[k])));
        layout->addWidget(edits[k], static_cast<int>(k), 1);
    }
    return box;
}

void CSensorOptions::openFilterParameters()
{
    FilterParametersDialog dialog(values_, this);
    if (dialog.exec() == QDialog::Accepted) {
        values_.alphaMin = dialog.page().alphaMin;
        values_.alphaMax = dialog.page().alphaMax;
        values_.vm = dialog.page().vm;
        values_.lineFrequency = dialog.page().lineFrequency;
    }
}

bool CSensorOptions::readValues()
{
    SensorPageValues read = values_;
    auto readAngles = [](const QString& title, const std::array<QLineEdit*, 3>& edits, std::array<double, 3>& out) {
        for (std::size_t k = 0; k < 3; ++k) {
            const auto value =
                readReal(edits[k], QStringLiteral("%1 %2").arg(title, QLatin1String(kAngleNames[k])), -180.0, 180.0);
            if (!value)
                return false;
            out[k] = *value;
        }
        return true;
    };
    if (!readAngles(QStringLiteral("Angle Align"), angleAlign_, read.angleAlign) ||
        !readAngles(QStringLiteral("Reference Frame"), referenceFrame_, read.referenceFrame))
        return false;
    read.formatIndex = formats_->checkedId() < 0 ? kOtherFormat : formats_->checkedId();
    for (const auto& entry : setupBits())
        read.setBit(entry.which, bits_[static_cast<std::size_t>(entry.which)]->isChecked());
    read.range = range_->currentData().toInt();
    read.hemisphere = hemisphere_->checkedId() < 0 ? values_.hemisphere : hemisphere_->checkedId();
    read.configureAllAfter = configureAll_->isChecked();
    values_ = read;
    return true;
}

} // namespace vornscope
