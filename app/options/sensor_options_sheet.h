// The "Sensor Options" property sheet: one CSensorOptions page per present
// sensor, captioned "Sensor %d".
#pragma once

#include "core/sensor_options.h"

#include <QDialog>

#include <vector>

class QTabWidget;

namespace vornscope {

class CSensorOptions;

class SensorOptionsSheet final : public QDialog {
    Q_OBJECT
public:
    SensorOptionsSheet(const std::vector<SensorPageValues>& pages, QWidget* parent);
    void accept() override;
    std::vector<SensorPageValues> pages() const;
    QTabWidget* tabs() const { return tabs_; }
    CSensorOptions* page(int index) const;

private:
    QTabWidget* tabs_;
    std::vector<CSensorOptions*> pages_;
};

} // namespace vornscope
