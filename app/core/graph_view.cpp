#include "core/graph_view.h"

#include <algorithm>

namespace vornscope {

void GraphView::reset()
{
    state = GraphScaleState {};
    cursor1 = cursor2 = 0;
    history_.clear();
}

void GraphView::pointAdded(std::size_t count)
{
    if (count <= 1) {
        state.start = 0;
        state.end = kFirstWindow;
        history_.clear();
    } else if (static_cast<double>(count) > kFirstWindow) {
        state.start += 1;
        state.end += 1;
    }
    cursor1 = count == 0 ? 0 : count - 1;
}

void GraphView::fileRead(std::size_t count)
{
    reset();
    state.end = std::max(static_cast<double>(count), kFirstWindow);
}

void GraphView::zoomIn(std::size_t count)
{
    push();
    const double w = width();
    const double total = static_cast<double>(count);
    state.scale *= 2.0 / 3.0;
    double start = 0;
    double end = 0;
    if (state.end > total) {
        end = std::max(state.end - w / 3, total);
        start = 2 * state.start + w / 3 - end;
    } else {
        end = state.end - (w / 3) / 2;
        start = state.start + (w / 3) / 2;
    }
    state.start = std::max(start, 0.0);
    state.end = std::max(end, 0.0);
}

void GraphView::zoomOut()
{
    push();
    const double w = width();
    state.scale *= 1.5;
    const double start = std::max(state.start - (w / 2) / 2, 0.0);
    state.end = state.end + start + w / 2 - state.start;
    state.start = start;
}

void GraphView::shiftRight(std::size_t count)
{
    const double start = std::min(state.start + 0.1 * width(), static_cast<double>(count));
    state.end += start - state.start;
    state.start = start;
}

void GraphView::shiftLeft()
{
    const double start = std::max(state.start - width() / 10, 0.0);
    state.end += start - state.start;
    state.start = start;
}

void GraphView::scrollTo(double position)
{
    const double w = width();
    state.start = std::max(position, 0.0);
    state.end = state.start + w;
}

void GraphView::applyScaling(double verticalDistance, double offsetAdjustment, double pointsPerScreen)
{
    push();
    state.scale = verticalDistance * 1.25;
    for (double& offset : state.offsets)
        offset += offsetAdjustment;
    const double w = width();
    if (pointsPerScreen != w && pointsPerScreen > 0) {
        state.start = std::max(state.start - (pointsPerScreen - w) / 2, 0.0);
        state.end = state.start + pointsPerScreen;
    }
}

void GraphView::rubberBand(double x0, double y0, double x1, double y1, const PlotArea& plot)
{
    const double left = std::min(x0, x1);
    const double right = std::max(x0, x1);
    const double top = std::min(y0, y1);
    const double bottom = std::max(y0, y1);
    if (right - left < 1 || bottom - top < 1)
        return; // a click, not a rectangle
    push();
    const double start = std::max(sampleAtX(left, plot), 0.0);
    const double end = sampleAtX(right, plot);
    const double centreShift = ((plot.bottom() - (top + bottom) / 2) / plot.height - 0.5) * state.scale;
    for (double& offset : state.offsets)
        offset += centreShift;
    state.scale *= (bottom - top) / plot.height;
    state.start = start;
    state.end = std::max(end, start + 1);
}

bool GraphView::popHistory()
{
    if (history_.empty())
        return false;
    const GraphScaleState earlier = history_.back();
    history_.pop_back();
    const double centre = (state.start + state.end) / 2;
    const double w = earlier.end - earlier.start;
    state.scale = earlier.scale;
    state.offsets = earlier.offsets;
    state.start = std::max(centre - w / 2, 0.0);
    state.end = state.start + w;
    return true;
}

void GraphView::moveCursor(int which, long delta, std::size_t count)
{
    const std::size_t& cursor = which == 2 ? cursor2 : cursor1;
    const long moved = static_cast<long>(cursor) + delta;
    placeCursor(which, static_cast<std::size_t>(std::max(moved, 0L)), count);
}

void GraphView::placeCursor(int which, std::size_t sample, std::size_t count)
{
    const std::size_t clamped = count == 0 ? 0 : std::min(sample, count - 1);
    (which == 2 ? cursor2 : cursor1) = clamped;
}

double GraphView::xOfSample(double sample, const PlotArea& plot) const
{
    const double w = std::max(width(), 1e-9);
    return plot.left + (sample - state.start) * plot.width / w;
}

double GraphView::sampleAtX(double x, const PlotArea& plot) const
{
    return state.start + (x - plot.left) * width() / plot.width;
}

double GraphView::yOfValue(double value, int trace, const PlotArea& plot) const
{
    const double offset = state.offsets[static_cast<std::size_t>(trace)];
    return plot.bottom() - ((state.scale * 0.5 + (value - offset)) / state.scale) * plot.height;
}

double GraphView::valueAtY(double y, int trace, const PlotArea& plot) const
{
    const double offset = state.offsets[static_cast<std::size_t>(trace)];
    return (plot.bottom() - y) / plot.height * state.scale - state.scale * 0.5 + offset;
}

int scrollPage(double windowWidth)
{
    return std::max(static_cast<int>(windowWidth / 10), 1);
}

std::array<double, 4> readoutColumns(double width, double textWidth)
{
    // Past the row names "1:", "2:", "d:".
    constexpr double kNameWidth = 14;
    constexpr double kGap = 8;
    const double step = std::max(width * 0.10, textWidth + kGap);
    const double first = width * 0.05 + kNameWidth;
    return {first, first + step, first + 2 * step, first + 3 * step};
}

} // namespace vornscope
