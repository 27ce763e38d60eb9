#include "displays/graph_painter.h"

namespace vornscope {

QColor traceColour(int axis)
{
    static const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    return colours[axis % 3];
}

void GraphPainter::drawTraces(QPainter& painter, const PlotArea& plot, const GraphData& data, const GraphView& view,
                              int sensor, int quantity, qreal penWidth)
{
    painter.save();
    painter.setClipRect(QRectF(plot.left, plot.top, plot.width, plot.height));
    for (int axis = 0; axis < 3; ++axis) {
        decimateTrace(data, sensor, quantity, axis, view, plot, columns_);
        lines_.clear();
        bool havePrevious = false;
        QPointF previous;
        for (std::size_t column = 0; column < columns_.size(); ++column) {
            const ColumnSpan& span = columns_[column];
            if (!span.used)
                continue;
            const double x = plot.left + static_cast<double>(column);
            const QPointF first(x, view.yOfValue(span.first, axis, plot));
            if (havePrevious)
                lines_.emplace_back(previous, first);
            else if (span.min == span.max)
                lines_.emplace_back(first, first + QPointF(1, 0)); // a lone sample still shows
            if (span.min != span.max)
                lines_.emplace_back(QPointF(x, view.yOfValue(span.min, axis, plot)),
                                    QPointF(x, view.yOfValue(span.max, axis, plot)));
            previous = QPointF(x, view.yOfValue(span.last, axis, plot));
            havePrevious = true;
        }
        painter.setPen(QPen(traceColour(axis), penWidth));
        painter.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    }
    painter.restore();
}

} // namespace vornscope
