#pragma once
// The graphics window of the console tools: a fixed-size picture that programs draw into with
// pen and brush colours, widths and styles, lines from point to point and rows of text, and that
// the window shows. The picture exists whether or not a screen does, so it can always be saved
// and printed. Keys pressed while the window has the focus go to the key handler.
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "vorn/console/key.h"

namespace vorn::plot {

class GraphicsWindow : public QWidget {
public:
    explicit GraphicsWindow(QSize canvasSize = QSize(960, 640));

    QSize canvasSize() const { return picture_.size(); }
    const QImage& picture() const { return picture_; }

    void clear(); // fills the picture with the brush colour
    void setBrushColor(const QColor& color) { brush_ = color; }
    void setPenColor(const QColor& color) { penColor_ = color; }
    void setPenWidth(int width) { penWidth_ = width; }
    void setPenStyle(Qt::PenStyle style) { penStyle_ = style; }
    void setFontColor(const QColor& color) { fontColor_ = color; }
    void setFontSize(int points) { fontSize_ = points; }
    // Drawing outside the rectangle is cut off (nothing: the whole picture).
    void setClip(std::optional<QRect> clip) { clip_ = clip; }

    void drawFrom(QPointF point) { cursor_ = point; }
    void drawTo(QPointF point); // a line from the last point
    void drawLine(QPointF from, QPointF to);
    void drawPolyline(std::span<const QPointF> points);
    // Text row `row` (0 at the top) at the left margin, one font height per row.
    void drawTextRow(int row, const QString& text);
    int textRowBottom(int rows) const; // where `rows` rows of the current font end
    void drawText(QPointF at, const QString& text, Qt::Alignment alignment);

    bool saveBitmap(const QString& path) const;
    std::string bitmap() const; // the picture as the bytes of a BMP file

    void setKeyHandler(std::function<void(console::Key)> handler) { keyHandler_ = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template <typename Draw> void paint(Draw draw);

    QImage picture_;
    QColor brush_ = Qt::black;
    QColor penColor_ = Qt::white;
    int penWidth_ = 1;
    Qt::PenStyle penStyle_ = Qt::SolidLine;
    QColor fontColor_ = Qt::white;
    int fontSize_ = 10;
    std::optional<QRect> clip_;
    QPointF cursor_;
    std::function<void(console::Key)> keyHandler_;
};

} // namespace vorn::plot
