#include "options/filter_parameters_dialog.h"

#include "shell/field_checks.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vornscope {
namespace {

const char* const kTableNames[] = {"Alpha Min", "Alpha Max", "Vm"};

QString alphaText(double value)
{
    return QString::number(value, 'f', 4);
}

} // namespace

FilterParametersDialog::FilterParametersDialog(const SensorPageValues& page, QWidget* parent)
    : QDialog(parent), page_(page), tabs_(new QTabWidget)
{
    setWindowTitle(QStringLiteral("Filter Parameters"));
    tabs_->addTab(buildTable(Table::AlphaMin), QStringLiteral("Alpha Min"));
    tabs_->addTab(buildTable(Table::AlphaMax), QStringLiteral("Alpha Max"));
    tabs_->addTab(buildTable(Table::Vm), QStringLiteral("Vm"));
    tabs_->addTab(buildLineFrequency(), QStringLiteral("Line Frequency"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterParametersDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FilterParametersDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

QWidget* FilterParametersDialog::buildTable(Table table)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const bool vm = table == Table::Vm;
    auto& columns = columns_[static_cast<std::size_t>(table)];
    grid->addWidget(new QLabel(QStringLiteral("Closest")), 0, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Farthest")), 0, VORN_FILTER_ENTRIES - 1, Qt::AlignRight);
    for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k) {
        auto* slider = new QSlider(Qt::Vertical);
        // Position 0 is the top and means the largest value.
        slider->setInvertedAppearance(true);
        slider->setRange(vm ? kVmSliderMin : 0, vm ? kVmSliderMax : kAlphaSliderMax);
        slider->setMinimumHeight(140);
        slider->setObjectName(
            QStringLiteral("%1 slider %2").arg(QLatin1String(kTableNames[static_cast<int>(table)])).arg(k));
        auto* edit = new QLineEdit;
        edit->setObjectName(
            QStringLiteral("%1 edit %2").arg(QLatin1String(kTableNames[static_cast<int>(table)])).arg(k));
        edit->setMaximumWidth(70);
        columns[k] = {slider, edit};
        grid->addWidget(slider, 1, static_cast<int>(k), Qt::AlignHCenter);
        grid->addWidget(edit, 2, static_cast<int>(k));

        double value = 0;
        if (table == Table::AlphaMin)
            value = page_.alphaMin[k];
        else if (table == Table::AlphaMax)
            value = page_.alphaMax[k];
        else
            value = page_.vm[k];
        showValue(table, k, value);
        slider->setValue(vm ? vmSliderPosition(static_cast<int>(value)) : alphaSliderPosition(value));

        connect(slider, &QSlider::valueChanged, this, [this, table, k, vm](int position) {
            showValue(table, k, vm ? vmFromSlider(position) : alphaFromSlider(position));
        });
        connect(edit, &QLineEdit::editingFinished, this, [this, table, k, vm, edit, slider] {
            bool ok = false;
            const double typed = edit->text().toDouble(&ok);
            if (!ok)
                return; // OK refuses it with a message
            slider->setValue(vm ? vmSliderPosition(static_cast<int>(typed)) : alphaSliderPosition(typed));
            showValue(table, k, typed);
        });
    }
    return page;
}

QWidget* FilterParametersDialog::buildLineFrequency()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Filter Line Frequency (1-255)")));
    const bool read = page_.lineFrequency != kLineFrequencyNotRead;
    lineFrequency_ = new QLineEdit(read ? QString::number(page_.lineFrequency) : QString());
    lineFrequency_->setObjectName(QStringLiteral("lineFrequency"));
    lineFrequency_->setEnabled(read);
    layout->addWidget(lineFrequency_);
    if (!read)
        layout->addWidget(new QLabel(QStringLiteral("The unit cannot be asked over this connection; its setting stays "
                                                    "as it is.")));
    layout->addStretch();
    return page;
}

void FilterParametersDialog::showValue(Table table, std::size_t k, double value)
{
    const Column& column = columns_[static_cast<std::size_t>(table)][k];
    if (table == Table::Vm) {
        column.edit->setText(QString::number(static_cast<int>(value)));
        return;
    }
    column.edit->setText(alphaText(value));
    const QString tip = QString::number(alphaToolTipValue(value));
    column.edit->setToolTip(tip);
    column.slider->setToolTip(tip);
}

bool FilterParametersDialog::readTable(Table table)
{
    const auto& columns = columns_[static_cast<std::size_t>(table)];
    const QString name = QLatin1String(kTableNames[static_cast<int>(table)]);
    for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k) {
        const QString field = QStringLiteral("%1 value %2").arg(name).arg(k + 1);
        if (table == Table::Vm) {
            const auto value = readInteger(columns[k].edit, field, 0, 32767);
            if (!value) {
                tabs_->setCurrentIndex(static_cast<int>(table));
                return false;
            }
            page_.vm[k] = static_cast<int>(*value);
            continue;
        }
        const auto value = readReal(columns[k].edit, field, 0.0, 1.0);
        if (!value) {
            tabs_->setCurrentIndex(static_cast<int>(table));
            return false;
        }
        (table == Table::AlphaMin ? page_.alphaMin : page_.alphaMax)[k] = *value;
    }
    return true;
}

void FilterParametersDialog::accept()
{
    const SensorPageValues before = page_;
    if (!readTable(Table::AlphaMin) || !readTable(Table::AlphaMax) || !readTable(Table::Vm)) {
        page_ = before;
        return;
    }
    if (page_.lineFrequency != kLineFrequencyNotRead) {
        const auto frequency = readInteger(lineFrequency_, QStringLiteral("Filter Line Frequency"), 1, 255);
        if (!frequency) {
            tabs_->setCurrentIndex(3);
            page_ = before;
            return;
        }
        page_.lineFrequency = static_cast<int>(*frequency);
    }
    QDialog::accept();
}

} // namespace vornscope
