// CSensorOptions: the property page of one present sensor.
#pragma once

#include "core/sensor_options.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vornscope {

class CSensorOptions final : public QWidget {
    Q_OBJECT
public:
    CSensorOptions(const SensorPageValues& values, QWidget* parent = nullptr);

    // Reads the controls; false (after a message naming the field) when one is wrong.
    bool readValues();
    const SensorPageValues& values() const { return values_; }
    void openFilterParameters();

private:
    QWidget* buildFormats();
    QWidget* buildFilters();
    QWidget* buildHemisphere();
    QWidget* buildAngles(const QString& title, const std::array<double, 3>& angles, std::array<QLineEdit*, 3>& edits);

    SensorPageValues values_;
    QButtonGroup* formats_ = nullptr;
    QButtonGroup* hemisphere_ = nullptr;
    std::array<QCheckBox*, 6> bits_ {};
    QComboBox* range_ = nullptr;
    std::array<QLineEdit*, 3> angleAlign_ {};
    std::array<QLineEdit*, 3> referenceFrame_ {};
    QCheckBox* configureAll_ = nullptr;
};

} // namespace vornscope
