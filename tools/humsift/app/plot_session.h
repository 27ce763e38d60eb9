#pragma once
// Showing a plot and answering its keys until Q: the arrows move the axis origin, PgUp and PgDn
// magnify and shrink, M lists the keys, P prints, S saves a bitmap. Keys come from the console or
// from the plot window alike.
#include <string>

#include "output_files.h"
#include "plot_figure.h"
#include "vorn/console/value_entry.h"
#include "vorn/plot/graphics_window.h"

namespace vorn::humsift {

class PlotSession {
public:
    PlotSession(console::ValueEntry& entry, plot::GraphicsWindow& window, OutputFiles& outputs)
        : entry_(entry), window_(window), outputs_(outputs)
    {
    }

    void show(const PlotFigure& figure);
    plot::GraphicsWindow& window() { return window_; }

private:
    void printHelp();
    void print();
    void save();

    console::ValueEntry& entry_;
    plot::GraphicsWindow& window_;
    OutputFiles& outputs_;
    std::string pictureName_ = "VornPlot";
};

// The caption printed above every plot.
inline constexpr const char* kPrintCaption = "Vorn Noise Analysis";

} // namespace vorn::humsift
