#include "vorn/humsift/plot_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorn::humsift {

void PlotView::magnify()
{
    zoom = std::min(zoom + 1, kMostMagnified);
}
void PlotView::shrink()
{
    zoom = std::max(zoom - 1, kMostShrunk);
}

double roundStep(double span, int divisions)
{
    if (!(span > 0.0) || !std::isfinite(span) || divisions <= 0)
        return 1.0;
    const double raw = span / divisions;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw * (1.0 - 1e-12))
            return m * power;
    return 10.0 * power;
}

Axis axisFor(double dataMin, double dataMax, int divisions, int pan, int zoom, bool fromZero)
{
    if (!std::isfinite(dataMin) || !std::isfinite(dataMax))
        dataMin = dataMax = 0.0;
    const double low = fromZero ? std::min(0.0, dataMin) : dataMin;
    Axis axis;
    axis.divisions = divisions;
    double base = roundStep(dataMax - low, divisions);
    // Starting on a whole step can push the top out of reach: take the next round step then.
    while (std::floor(low / base) * base + base * divisions < dataMax)
        base = roundStep(base * 1.01 * divisions, divisions);
    const double start = std::floor(low / base) * base;
    // Only as many divisions as the data needs, so the curve fills the plot.
    const double needed = std::ceil((dataMax - start) / base - 1e-9);
    axis.divisions = static_cast<int>(std::clamp(needed, 1.0, static_cast<double>(divisions)));
    zoom = std::clamp(zoom, kMostShrunk, kMostMagnified);
    axis.step = base * std::pow(2.0, -zoom);
    axis.start = start + pan * axis.step;
    return axis;
}

std::string tickLabel(double value, double step)
{
    if (std::fabs(value) < step * 1e-9)
        value = 0.0;
    // Exact decimals for a round step; for a halved one, two digits below its first are plenty.
    const int enough = std::clamp(static_cast<int>(std::ceil(-std::log10(step))) + 2, 0, 15);
    int decimals = 0;
    while (decimals < enough &&
           std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) >
               1e-6 * std::pow(10.0, decimals) * step)
        ++decimals;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace vorn::humsift
