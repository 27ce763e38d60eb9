#include "plot_figure.h"

#include <QPointF>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <limits>

#include "vorn/plot/graphics_window.h"

namespace vorn::humsift {

namespace {

constexpr int kDivisions = 10;
constexpr int kLeft = 90;
constexpr int kRight = 30;
constexpr int kTop = 150;
constexpr int kBottom = 60;
const QColor kBackground(0, 0, 0);
const QColor kText(220, 230, 220);
const QColor kAxes(200, 200, 200);
const QColor kGrid(60, 60, 70);

struct Range {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
};

Range yRangeWithin(const PlotFigure& figure)
{
    Range range;
    for (const PlotCurve& curve : figure.curves)
        for (std::size_t i = 0; i < curve.x.size() && i < curve.y.size(); ++i)
            if (curve.x[i] >= figure.xMin && curve.x[i] <= figure.xMax && std::isfinite(curve.y[i])) {
                range.low = std::min(range.low, curve.y[i]);
                range.high = std::max(range.high, curve.y[i]);
            }
    if (range.low > range.high)
        range = {0.0, 1.0};
    // Headroom, so the highest point is not on the frame (nor, for a flat curve, cut off beyond it).
    const double span = range.high - range.low;
    range.high += 0.05 * (span > 0.0 ? span : std::max(1.0, std::fabs(range.high)));
    return range;
}

class Mapping {
public:
    Mapping(QRect area, Axis x, Axis y) : area_(area), x_(x), y_(y) {}
    QPointF operator()(double x, double y) const
    {
        const double px = area_.left() + (x - x_.start) / (x_.end() - x_.start) * area_.width();
        const double py = area_.bottom() - (y - y_.start) / (y_.end() - y_.start) * area_.height();
        // Far-off points are held near the area so the painter never sees huge coordinates.
        return {std::clamp(px, -1e5, 1e5), std::clamp(py, -1e5, 1e5)};
    }

private:
    QRect area_;
    Axis x_;
    Axis y_;
};

void drawGridAndLabels(plot::GraphicsWindow& w, QRect area, const Axis& x, const Axis& y)
{
    w.setFontSize(9);
    w.setPenWidth(1);
    for (int i = 0; i <= x.divisions; ++i) {
        const double fx = std::round(area.left() + area.width() * i / double(x.divisions));
        w.setPenColor(i == 0 ? kAxes : kGrid);
        w.setPenStyle(i == 0 ? Qt::SolidLine : Qt::DotLine);
        w.drawLine({fx, double(area.top())}, {fx, double(area.bottom())});
        w.drawText({fx, area.bottom() + 6.0}, QString::fromStdString(tickLabel(x.start + i * x.step, x.step)),
                   Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int i = 0; i <= y.divisions; ++i) {
        const double fy = std::round(area.bottom() - area.height() * i / double(y.divisions));
        w.setPenColor(i == 0 ? kAxes : kGrid);
        w.setPenStyle(i == 0 ? Qt::SolidLine : Qt::DotLine);
        w.drawLine({double(area.left()), fy}, {double(area.right()), fy});
        w.drawText({area.left() - 6.0, fy}, QString::fromStdString(tickLabel(y.start + i * y.step, y.step)),
                   Qt::AlignRight | Qt::AlignVCenter);
    }
    w.setPenStyle(Qt::SolidLine);
    w.setPenColor(kAxes);
    w.drawFrom({double(area.left()), double(area.top())});
    w.drawTo({double(area.left()), double(area.bottom())});
    w.drawTo({double(area.right()), double(area.bottom())});
}

} // namespace

std::string notDrawnNote(const PlotFigure& figure)
{
    std::size_t all = 0;
    std::size_t notFinite = 0;
    for (const PlotCurve& curve : figure.curves)
        for (std::size_t i = 0; i < curve.x.size() && i < curve.y.size(); ++i, ++all)
            if (!std::isfinite(curve.y[i]))
                ++notFinite;
    if (notFinite == 0)
        return {};
    if (notFinite == all)
        return "Nothing to draw: none of the " + std::to_string(all) + " values is finite.";
    return std::to_string(notFinite) + " of the " + std::to_string(all) + " values are not finite and are not drawn.";
}

void renderPlot(plot::GraphicsWindow& w, const PlotFigure& figure, const PlotView& view)
{
    w.setClip(std::nullopt);
    w.setBrushColor(kBackground);
    w.clear();
    w.setFontColor(kText);
    w.setFontSize(11);
    std::vector<std::string> rows = figure.rows;
    if (const std::string note = notDrawnNote(figure); !note.empty())
        rows.push_back(note);
    for (std::size_t row = 0; row < rows.size(); ++row)
        w.drawTextRow(static_cast<int>(row), QString::fromStdString(rows[row]));

    const QSize size = w.canvasSize();
    // The plot starts below the last text row, however many rows there are.
    const int top = std::max(kTop, w.textRowBottom(static_cast<int>(rows.size())) + 36);
    const QRect area(kLeft, top, size.width() - kLeft - kRight, size.height() - top - kBottom);
    const Range yRange = yRangeWithin(figure);
    const Axis x = axisFor(figure.xMin, figure.xMax, kDivisions, view.panX, view.zoom, false);
    const Axis y = axisFor(yRange.low, yRange.high, kDivisions, view.panY, view.zoom, true);
    drawGridAndLabels(w, area, x, y);
    w.setFontSize(10);
    w.drawText({area.center().x() + 0.0, size.height() - 22.0}, QString::fromStdString(figure.xLabel),
               Qt::AlignHCenter | Qt::AlignTop);
    w.drawText({double(kLeft), top - 22.0}, QString::fromStdString(figure.yLabel), Qt::AlignLeft | Qt::AlignTop);

    const Mapping map(area, x, y);
    w.setClip(area.adjusted(0, 0, 1, 1));
    std::vector<QPointF> points;
    for (const PlotCurve& curve : figure.curves) {
        points.clear();
        for (std::size_t i = 0; i < curve.x.size() && i < curve.y.size(); ++i)
            if (std::isfinite(curve.y[i]))
                points.push_back(map(curve.x[i], curve.y[i]));
        w.setPenColor(curve.color);
        w.setPenStyle(curve.style);
        w.setPenWidth(curve.style == Qt::SolidLine ? 1 : 2);
        w.drawPolyline(points);
    }
    w.setClip(std::nullopt);
    w.setPenStyle(Qt::SolidLine);
    w.setPenWidth(1);
}

} // namespace vorn::humsift
