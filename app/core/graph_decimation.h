// Min/max decimation: one vertical segment per pixel column, so drawing a
// trace costs the plot's width, not the number of stored points.
#pragma once

#include "core/graph_data.h"
#include "core/graph_view.h"

#include <vector>

namespace vornscope {

struct ColumnSpan {
    double first = 0; // value of the column's first sample (joins the previous column)
    double last = 0;
    double min = 0;
    double max = 0;
    bool used = false;
};

// Fills `columns` (resized to the plot's whole pixel width) with the spans of
// one trace over the visible window; reuses the vector's storage.
void decimateTrace(const GraphData& graph, int sensor, int quantity, int axis, const GraphView& view,
                   const PlotArea& plot, std::vector<ColumnSpan>& columns);

} // namespace vornscope
