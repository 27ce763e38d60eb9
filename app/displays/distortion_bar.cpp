#include "displays/distortion_bar.h"

#include "core/distortion_colour.h"

#include <QPainter>

namespace vornscope {

CDistortionBar::CDistortionBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("distortionBar"));
    followParent();
}

void CDistortionBar::setValue(int value)
{
    if (value == value_)
        return;
    value_ = value;
    update();
}

void CDistortionBar::followParent()
{
    if (parentWidget())
        setGeometry(parentWidget()->width() - kWidth, 0, kWidth, parentWidget()->height());
}

void CDistortionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int filled = distortionFillHeight(value_, height());
    const std::uint32_t word = distortionColour(value_);
    painter.fillRect(0, 0, width(), height() - filled, Qt::white);
    painter.fillRect(0, height() - filled, width(), filled,
                     QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF), 0));
}

} // namespace vornscope
