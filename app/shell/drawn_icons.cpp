#include "shell/drawn_icons.h"

#include "core/command_ids.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vornscope {
namespace {

constexpr int kSize = 24;

QPixmap canvas()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon letters(const QString& text, const QColor& colour)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker(140));
    painter.drawRoundedRect(QRectF(1.5, 1.5, kSize - 3, kSize - 3), 4, 4);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(text.size() > 1 ? 10 : 14);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon arrow(double degrees)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kSize / 2.0, kSize / 2.0);
    painter.rotate(degrees);
    QPainterPath path;
    path.moveTo(9, 0);
    path.lineTo(0, -8);
    path.lineTo(0, -3);
    path.lineTo(-9, -3);
    path.lineTo(-9, 3);
    path.lineTo(0, 3);
    path.lineTo(0, 8);
    path.closeSubpath();
    painter.fillPath(path, QColor(0x30, 0x60, 0xA0));
    return QIcon(pixmap);
}

QIcon axes()
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF origin(9, 15);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawLine(origin, QPointF(21, 15));
    painter.setPen(QPen(Qt::darkGreen, 2));
    painter.drawLine(origin, QPointF(9, 3));
    painter.setPen(QPen(Qt::blue, 2));
    painter.drawLine(origin, QPointF(3, 21));
    return QIcon(pixmap);
}

QIcon graph()
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(2, 2, kSize - 4, kSize - 4), Qt::black);
    painter.setPen(QPen(Qt::red, 1.5));
    painter.drawPolyline(QPolygonF({{3, 16}, {8, 9}, {12, 13}, {16, 6}, {21, 10}}));
    painter.setPen(QPen(Qt::green, 1.5));
    painter.drawPolyline(QPolygonF({{3, 19}, {8, 17}, {12, 19}, {16, 15}, {21, 17}}));
    return QIcon(pixmap);
}

QIcon ball()
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xD0, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(6, 6, 12, 12));
    return QIcon(pixmap);
}

QIcon distortionBar()
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.fillRect(QRect(8, 2, 8, 20), Qt::white);
    painter.fillRect(QRect(8, 12, 8, 10), QColor(255, 128, 0));
    painter.setPen(Qt::black);
    painter.drawRect(QRect(8, 2, 8, 20));
    return QIcon(pixmap);
}

} // namespace

QIcon applicationIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x20, 0x40, 0x70));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(2, 2, 60, 60));
    const QPointF origin(28, 38);
    painter.setPen(QPen(QColor(0xFF, 0x50, 0x50), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(origin, QPointF(52, 38));
    painter.setPen(QPen(QColor(0x50, 0xE0, 0x50), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(origin, QPointF(28, 12));
    painter.setPen(QPen(QColor(0x60, 0xA0, 0xFF), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(origin, QPointF(14, 52));
    return QIcon(pixmap);
}

namespace {

// Qt's own disabled look keeps most of the colour of these bold glyphs; a
// faint grey outline of the glyph is plain at a glance.
constexpr int kDisabledAlpha = 70;

QIcon withDisabledLook(const QIcon& icon)
{
    if (icon.isNull())
        return icon;
    QImage image = icon.pixmap(kSize, kSize).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 160 + qGray(line[x]) / 4;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * kDisabledAlpha / 255);
        }
    }
    QIcon result = icon;
    result.addPixmap(QPixmap::fromImage(image), QIcon::Disabled);
    return result;
}

QIcon drawnCommandIcon(int id)
{
    switch (id) {
    case ID_STREAM_TB: return letters(QStringLiteral("S"), QColor(0x20, 0x80, 0x40));
    case ID_POINT_TB: return letters(QStringLiteral("P"), QColor(0x20, 0x60, 0xA0));
    case ID_GRAPH_TB: return graph();
    case ID_ANIMATE_TB: return axes();
    case ID_BALL_TB: return ball();
    case ID_DISTORTION_TB: return distortionBar();
    case ID_SAVE_DATA: return letters(QStringLiteral("T"), QColor(0x80, 0x50, 0x20));
    case ID_SENSOR_OPTIONS_TB: return letters(QStringLiteral("SO"), QColor(0x60, 0x40, 0x90));
    case ID_SYSTEM_OPTIONS_TB: return letters(QStringLiteral("Sy"), QColor(0x60, 0x40, 0x90));
    case ID_SHIFT_RIGHT_TB: return arrow(0);
    case ID_SHIFT_DOWN_TB: return arrow(90);
    case ID_SHIFT_LEFT_TB: return arrow(180);
    case ID_SHIFT_UP_TB: return arrow(270);
    case ID_ZOOM_IN_TB: return letters(QStringLiteral("+"), QColor(0x40, 0x40, 0x40));
    case ID_ZOOM_OUT_TB: return letters(QStringLiteral("-"), QColor(0x40, 0x40, 0x40));
    case ID_RESET_VIEW_TB: return letters(QStringLiteral("R"), QColor(0xA0, 0x30, 0x30));
    default: return {};
    }
}

} // namespace

QIcon commandIcon(int id)
{
    return withDisabledLook(drawnCommandIcon(id));
}

} // namespace vornscope
