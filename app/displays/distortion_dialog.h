// "Distortion Detection Options": the four detection values of the chosen
// unit, which unit drives the bar, and "Stop Distortion".
#pragma once

#include "core/vorn_group.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vornscope {

// Sensitivity, offset, slope, alpha: the order of their 's' fields 2..5.
enum DistortionField { kSensitivity = 0, kOffset = 1, kSlope = 2, kAlpha = 3 };

class DistortionDialog : public QDialog {
    Q_OBJECT
public:
    DistortionDialog(const CVornGroup& group, int selectedUnit, bool distortionOn, QWidget* parent = nullptr);

    int chosenUnit() const;
    bool stopPressed() const { return stop_; }
    // A value counts as edited when its text changed while the dialog was open
    // (filling the edits counts too).
    std::array<bool, 4> edited() const { return edited_; }
    std::array<int, 4> values() const;

private:
    void loadUnit(int unit);

    const CVornGroup& group_;
    std::array<QLineEdit*, 4> edits_ {};
    std::array<bool, 4> edited_ {};
    QComboBox* sensor_;
    bool stop_ = false;
};

} // namespace vornscope
