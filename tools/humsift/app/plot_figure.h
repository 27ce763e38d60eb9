#pragma once
// A plot as data: curves, the rows of text above them and the x span; drawn by renderPlot.
#include <QColor>
#include <string>
#include <vector>

#include "vorn/humsift/plot_scale.h"

namespace vorn::plot {
class GraphicsWindow;
}

namespace vorn::humsift {

struct PlotCurve {
    std::vector<double> x;
    std::vector<double> y;
    QColor color;
    Qt::PenStyle style = Qt::SolidLine;
};

struct PlotFigure {
    std::vector<PlotCurve> curves;
    std::vector<std::string> rows;
    std::string xLabel;
    std::string yLabel;
    double xMin = 0.0;
    double xMax = 1.0;
};

// What a figure cannot show: "" when every value is finite, else a line saying how many values
// are left out (or that nothing can be drawn).
std::string notDrawnNote(const PlotFigure& figure);

// Clears the window and draws the text rows (and the note above, if any), the axes with their grid
// and labels, and the curves.
void renderPlot(plot::GraphicsWindow& window, const PlotFigure& figure, const PlotView& view);

} // namespace vorn::humsift
