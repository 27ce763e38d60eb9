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

// Clears the window and draws the text rows, the axes with their grid and labels, and the curves.
void renderPlot(plot::GraphicsWindow& window, const PlotFigure& figure, const PlotView& view);

}  // namespace vorn::humsift
