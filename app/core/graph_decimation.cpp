#include "core/graph_decimation.h"

#include <algorithm>
#include <cmath>

namespace vornscope {

void decimateTrace(const GraphData& graph, int sensor, int quantity, int axis, const GraphView& view,
                   const PlotArea& plot, std::vector<ColumnSpan>& columns)
{
    const std::size_t columnCount = static_cast<std::size_t>(std::max(plot.width, 1.0));
    columns.assign(columnCount, ColumnSpan {});
    if (graph.empty() || sensor < 1 || sensor > graph.sensorCount())
        return;
    const double first = std::max(std::floor(view.state.start), 0.0);
    const double last = std::min(std::ceil(view.state.end), static_cast<double>(graph.count() - 1));
    for (auto index = static_cast<std::size_t>(first); static_cast<double>(index) <= last; ++index) {
        const double x = view.xOfSample(static_cast<double>(index), plot) - plot.left;
        if (x < 0 || x >= static_cast<double>(columnCount))
            continue;
        ColumnSpan& span = columns[static_cast<std::size_t>(x)];
        const double value = graph.value(index, sensor, quantity, axis);
        if (!span.used) {
            span = ColumnSpan {value, value, value, value, true};
        } else {
            span.last = value;
            span.min = std::min(span.min, value);
            span.max = std::max(span.max, value);
        }
    }
}

} // namespace vornscope
