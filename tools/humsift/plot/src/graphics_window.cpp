#include "vorn/plot/graphics_window.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "vorn/plot/window_keys.h"

namespace vorn::plot {

namespace {
constexpr int kTextMargin = 12;
}

GraphicsWindow::GraphicsWindow(QSize canvasSize) : picture_(canvasSize, QImage::Format_RGB32)
{
    setWindowTitle(QStringLiteral("Vorn Noise Analysis"));
    setFocusPolicy(Qt::StrongFocus);
    resize(canvasSize);
    clear();
}

template <typename Draw> void GraphicsWindow::paint(Draw draw)
{
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    if (clip_)
        painter.setClipRect(*clip_);
    painter.setPen(QPen(penColor_, penWidth_, penStyle_));
    // Whole-pixel coordinates fall on pixel centres, so thin straight lines stay sharp.
    painter.translate(0.5, 0.5);
    draw(painter);
    painter.end();
    update();
}

void GraphicsWindow::clear()
{
    picture_.fill(brush_);
    update();
}

void GraphicsWindow::drawTo(QPointF point)
{
    drawLine(cursor_, point);
}

void GraphicsWindow::drawLine(QPointF from, QPointF to)
{
    paint([&](QPainter& p) { p.drawLine(from, to); });
    cursor_ = to;
}

void GraphicsWindow::drawPolyline(std::span<const QPointF> points)
{
    if (points.empty())
        return;
    paint([&](QPainter& p) { p.drawPolyline(points.data(), static_cast<int>(points.size())); });
    cursor_ = points.back();
}

void GraphicsWindow::drawTextRow(int row, const QString& text)
{
    drawText(QPointF(kTextMargin, textRowBottom(row)), text, Qt::AlignLeft | Qt::AlignTop);
}

int GraphicsWindow::textRowBottom(int rows) const
{
    QFont font;
    font.setPointSize(fontSize_);
    return kTextMargin + rows * QFontMetrics(font).height();
}

void GraphicsWindow::drawText(QPointF at, const QString& text, Qt::Alignment alignment)
{
    paint([&](QPainter& p) {
        QFont font;
        font.setPointSize(fontSize_);
        p.setFont(font);
        p.setPen(fontColor_);
        const QSizeF size = QFontMetrics(font).size(0, text);
        QPointF topLeft = at;
        if (alignment & Qt::AlignRight)
            topLeft.rx() -= size.width();
        if (alignment & Qt::AlignHCenter)
            topLeft.rx() -= size.width() / 2;
        if (alignment & Qt::AlignBottom)
            topLeft.ry() -= size.height();
        if (alignment & Qt::AlignVCenter)
            topLeft.ry() -= size.height() / 2;
        p.drawText(QRectF(topLeft, size), Qt::AlignLeft | Qt::AlignTop, text);
    });
}

bool GraphicsWindow::saveBitmap(const QString& path) const
{
    return picture_.save(path, "BMP");
}

std::string GraphicsWindow::bitmap() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture_.save(&buffer, "BMP");
    return bytes.toStdString();
}

void GraphicsWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), picture_);
}

void GraphicsWindow::keyPressEvent(QKeyEvent* event)
{
    const auto key = consoleKeyFor(*event);
    if (key && keyHandler_) {
        keyHandler_(*key);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vorn::plot
