// "Graph Scaling": the vertical distance, an offset adjustment for all three
// traces and the points per screen of the graph window.
#pragma once

#include <QDialog>

class QDoubleSpinBox;

namespace vornscope {

class GraphScalingDialog : public QDialog {
    Q_OBJECT
public:
    GraphScalingDialog(double verticalDistance, double pointsPerScreen, QWidget* parent = nullptr);

    double verticalDistance() const;
    double offsetAdjustment() const;
    double pointsPerScreen() const;

    // Refuses a vertical distance of 0: it would erase every trace.
    void accept() override;

private:
    QDoubleSpinBox* distance_;
    QDoubleSpinBox* offset_;
    QDoubleSpinBox* points_;
};

} // namespace vornscope
