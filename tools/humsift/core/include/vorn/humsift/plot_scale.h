#pragma once
// The axes of a plot: a round step per division chosen from the data, moved and magnified by the
// plot keys. Pure arithmetic, so the plot window only draws.
#include <string>

namespace vorn::humsift {

// How far PgUp and PgDn go: magnified 4096 times, tick labels still tell neighbouring ticks apart;
// shrunk 16 times, the data still spans a sixteenth of the plot.
inline constexpr int kMostMagnified = 12;
inline constexpr int kMostShrunk = -4;

// The user's moves: the axis origin in divisions, and magnification in halvings of the step.
struct PlotView {
    int panX = 0;
    int panY = 0;
    int zoom = 0;

    void magnify(); // one PgUp, up to kMostMagnified
    void shrink();  // one PgDn, down to kMostShrunk
};

struct Axis {
    double start = 0.0;
    double step = 1.0;
    int divisions = 10;
    double end() const { return start + step * divisions; }
};

// The smallest step of 1, 2 or 5 times a power of ten that covers `span` in `divisions`.
double roundStep(double span, int divisions);

// An axis over the data on round steps, with at most `divisions` divisions, from 0 when `fromZero` (or from the data's minimum when it
// is below 0), otherwise from the data's minimum; then moved by `pan` steps and magnified by 2^zoom.
Axis axisFor(double dataMin, double dataMax, int divisions, int pan, int zoom, bool fromZero);

// A tick label without needless digits ("0", "2.5", "120"), with enough to tell it from the next
// tick at `step`.
std::string tickLabel(double value, double step);

} // namespace vorn::humsift
