// The animate display: every present sensor drawn as three coloured axes
// over the view, and the bouncing ball when it runs.
#pragma once

#include "core/animate_geometry.h"

#include <QWidget>

#include <vector>

namespace vornscope {

class CAnimateDisplay : public QWidget {
    Q_OBJECT
public:
    explicit CAnimateDisplay(QWidget* parent = nullptr);

    // One data point: the sensors' ranges by unit address.
    void showPoint(const SampleFrame& frame, const std::vector<int>& units, const std::vector<double>& ranges,
                   const AnimateFrame& screen, bool ballRuns);
    void startBall();
    const std::vector<SensorAxes>& axes() const { return axes_; }
    const BouncingBall& ball() const { return ball_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<SensorAxes> axes_;
    BouncingBall ball_;
    bool ballRuns_ = false;
};

} // namespace vornscope
