// "System Options": measurement rate, samples per data point, active
// transmitter, transmitter mode, time display and transmitter on/off.
#pragma once

#include "core/system_options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vornscope {

class SystemOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    SystemOptionsDialog(const SystemOptionsValues& values, QWidget* parent);
    void accept() override;
    const SystemOptionsValues& values() const { return values_; }

private:
    SystemOptionsValues values_;
    QLineEdit* rate_;
    QLineEdit* samples_;
    QComboBox* transmitter_;
    QComboBox* mode_;
    QCheckBox* showTimes_;
    QCheckBox* transmitterOn_;
};

} // namespace vornscope
