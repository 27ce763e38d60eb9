#include "options/sensor_options_sheet.h"

#include "options/sensor_options_page.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vornscope {

SensorOptionsSheet::SensorOptionsSheet(const std::vector<SensorPageValues>& pages, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget)
{
    setWindowTitle(QStringLiteral("Sensor Options"));
    int number = 1;
    for (const auto& values : pages) {
        auto* page = new CSensorOptions(values);
        pages_.push_back(page);
        tabs_->addTab(page, QStringLiteral("Sensor %1").arg(number++));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SensorOptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SensorOptionsSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

void SensorOptionsSheet::accept()
{
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (!pages_[i]->readValues()) {
            tabs_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
    QDialog::accept();
}

std::vector<SensorPageValues> SensorOptionsSheet::pages() const
{
    std::vector<SensorPageValues> values;
    for (const auto* page : pages_)
        values.push_back(page->values());
    return values;
}

CSensorOptions* SensorOptionsSheet::page(int index) const
{
    return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

} // namespace vornscope
