#include "displays/graph_printer.h"

#include "displays/graph_painter.h"

#include <QPainter>

#include <cmath>

namespace vornscope {
namespace {

constexpr int kTicks = 10;

const char* quantityName(int quantity)
{
    switch (quantity) {
    case 0: return "Position";
    case 1: return "Angle";
    default: return "Unknown format";
    }
}

} // namespace

void printGraph(QPainter& painter, const QRectF& page, const GraphData& data, const GraphView& view, int sensor,
                int quantity)
{
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    painter.setPen(Qt::black);
    painter.drawText(QPointF(page.left(), page.top() + metrics.ascent()),
                     QString::asprintf("Sensor %d    ", sensor) + QString::fromLatin1(quantityName(quantity)));
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("-000.00  "));
    const PlotArea plot {page.left() + labelWidth, page.top() + 2 * line, page.width() - labelWidth,
                         page.height() - 5 * line};
    const QRectF frame(plot.left, plot.top, plot.width, plot.height);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(frame);
    painter.drawText(QPointF(page.left(), plot.top + plot.height / 2),
                     QString::asprintf("%-3.2f", view.state.scale * 0.8));
    for (int tick = 0; tick <= kTicks; ++tick) {
        const double x = plot.left + plot.width * tick / kTicks;
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + line / 3));
        const double sample = std::round(view.sampleAtX(x, plot));
        if (sample < 0 || sample >= static_cast<double>(data.count()))
            continue;
        const QString label = QString::asprintf("%0.3f", data.time(static_cast<std::size_t>(sample)));
        painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2, plot.bottom() + 1.5 * line), label);
    }
    GraphPainter traces;
    // A printer has many dots per screen pixel: a thin line of a few dots.
    traces.drawTraces(painter, plot, data, view, sensor, quantity, std::max(1.0, plot.width / 1500));
}

} // namespace vornscope
