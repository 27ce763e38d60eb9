// What the graph window shows of its stored points: the visible window of
// sample indices, the vertical scale and trace offsets, the cursors and the
// history of earlier views, with the zoom, shift, scaling and rubber-band
// rules and the mapping between samples, values and pixels.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace vornscope {

struct GraphScaleState {
    double start = 0;
    double end = 0;
    double scale = 10;
    std::array<double, 3> offsets {};
};

// The plot rectangle in widget pixels.
struct PlotArea {
    double left = 0;
    double top = 0;
    double width = 1;
    double height = 1;
    double bottom() const { return top + height; }
};

class GraphView {
public:
    static constexpr double kDefaultScale = 10;
    static constexpr double kFirstWindow = 75;

    GraphScaleState state;
    std::size_t cursor1 = 0;
    std::size_t cursor2 = 0;

    double width() const { return state.end - state.start; }
    std::size_t historyDepth() const { return history_.size(); }

    void reset();
    // A point was appended; `count` is the new number of stored points.
    void pointAdded(std::size_t count);
    // The view after a file was read: all stored points from the first.
    void fileRead(std::size_t count);

    void zoomIn(std::size_t count);
    void zoomOut();
    void shiftRight(std::size_t count);
    void shiftLeft();
    void scrollTo(double position);
    // Graph Scaling: the dialog's vertical distance, offset adjustment and points per screen.
    void applyScaling(double verticalDistance, double offsetAdjustment, double pointsPerScreen);
    // Ctrl-drag rectangle, in widget pixels.
    void rubberBand(double x0, double y0, double x1, double y1, const PlotArea& plot);
    // Right click: back to the last pushed view, re-centred on the current window.
    bool popHistory();

    // One cursor moved by `delta` samples, clamped to the stored points.
    void moveCursor(int which, long delta, std::size_t count);
    void placeCursor(int which, std::size_t sample, std::size_t count);

    double xOfSample(double sample, const PlotArea& plot) const;
    double sampleAtX(double x, const PlotArea& plot) const;
    double yOfValue(double value, int trace, const PlotArea& plot) const;
    double valueAtY(double y, int trace, const PlotArea& plot) const;

private:
    void push() { history_.push_back(state); }
    std::vector<GraphScaleState> history_;
};

// The scroll bar's page: a tenth of the window, at least 1.
int scrollPage(double windowWidth);

// Left edges of the cursor read-out's columns (the three values, then the
// time) in a graph `width` pixels wide: at 5, 15, 25 and 35 % of the width,
// spread further where the widest value text ("-179.9999", `textWidth`
// pixels) would run into the next column.
std::array<double, 4> readoutColumns(double width, double textWidth);

} // namespace vornscope
