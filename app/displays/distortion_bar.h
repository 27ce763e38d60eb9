// The distortion bar: a narrow window at the view's right edge, filled from
// the bottom in the ramp colour of the latest distortion value.
#pragma once

#include <QWidget>

namespace vornscope {

class CDistortionBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 12;
    explicit CDistortionBar(QWidget* parent = nullptr);
    void setValue(int value);
    int value() const { return value_; }
    // Keeps the bar at the parent's right edge over its full height.
    void followParent();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int value_ = 0;
};

} // namespace vornscope
