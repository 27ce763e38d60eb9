#include "displays/animate_display.h"

#include "displays/graph_painter.h"

#include <QPainter>

namespace vornscope {

CAnimateDisplay::CAnimateDisplay(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("animateDisplay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void CAnimateDisplay::showPoint(const SampleFrame& frame, const std::vector<int>& units,
                                const std::vector<double>& ranges, const AnimateFrame& screen, bool ballRuns)
{
    axes_.clear();
    for (std::size_t i = 0; i < units.size(); ++i)
        axes_.push_back(sensorAxes(frame.sensors[static_cast<std::size_t>(units[i])], ranges[i], screen));
    ballRuns_ = ballRuns;
    if (ballRuns_)
        ball_.step(screen.width, screen.height, axes_);
    update();
}

void CAnimateDisplay::startBall()
{
    ball_.start(width(), height());
}

void CAnimateDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const SensorAxes& sensor : axes_) {
        for (int k = 0; k < 3; ++k) {
            painter.setPen(QPen(traceColour(k), 2));
            const ScreenPoint& end = sensor.ends[static_cast<std::size_t>(k)];
            painter.drawLine(QPointF(sensor.origin.x, sensor.origin.y), QPointF(end.x, end.y));
        }
    }
    if (ballRuns_) {
        const QColor colour = traceColour(ball_.colour);
        painter.setPen(colour);
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(ball_.x, ball_.y), ball_.radius, ball_.radius);
    }
}

} // namespace vornscope
