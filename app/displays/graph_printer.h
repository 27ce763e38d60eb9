// The printout of the graph window's selected sensor: heading, vertical
// distance, time labels under tick marks and the three traces.
#pragma once

#include "core/graph_data.h"
#include "core/graph_view.h"

class QPainter;
class QRectF;

namespace vornscope {

// Draws one page into `page` (device coordinates of the painter).
void printGraph(QPainter& painter, const QRectF& page, const GraphData& data, const GraphView& view, int sensor,
                int quantity);

} // namespace vornscope
