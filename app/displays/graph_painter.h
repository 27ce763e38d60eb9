// Drawing of the graph's three traces, shared by the graph window and the
// printout: one segment per pixel column from the min/max decimation.
#pragma once

#include "core/graph_decimation.h"

#include <QColor>
#include <QPainter>

#include <vector>

namespace vornscope {

// Trace colours: x or azimuth red, y or elevation green, z or roll blue.
QColor traceColour(int axis);

class GraphPainter {
public:
    // Draws sensor `sensor`'s quantity (0 position, 1 angles) into `plot`, clipped to it.
    void drawTraces(QPainter& painter, const PlotArea& plot, const GraphData& data, const GraphView& view, int sensor,
                    int quantity, qreal penWidth = 1);

private:
    std::vector<ColumnSpan> columns_;
    std::vector<QLineF> lines_;
};

} // namespace vornscope
