// The spectrum plots and the text rows that describe the settings behind a plot.
#include <ctime>

#include "humsift_program.h"
#include "vorn/console/basic_number.h"
#include "vorn/console/clock_text.h"
#include "vorn/humsift/rate_report.h"

namespace vorn::humsift {

std::string HumsiftProgram::askPlotTitle()
{
    state_.plotTitle = entry_.askText("Title for Plot  ", state_.plotTitle);
    return state_.plotTitle;
}

std::vector<std::string> HumsiftProgram::settingRows() const
{
    using console::basicNumber;
    // The filter described is the one whose response shaped the curve.
    const FilterInEffect& filter = state_.filter;
    return {windowText(state_.windowKind()), filterRow(), "Vorn Measuring Rate = " + basicNumber(filter.rate),
            "Notch Zero Locations = " + basicNumber(filter.zeros.first) + basicNumber(filter.zeros.second),
            "hit M to display menu"};
}

void HumsiftProgram::plotSpectrum(std::optional<double> foldedAt, const std::vector<double>& x,
                                  const std::vector<double>& y, double figure)
{
    PlotFigure plot;
    const std::string title = foldedAt ? state_.plotTitle : askPlotTitle();
    const std::time_t now = std::time(nullptr);
    plot.rows = {title, console::timeOfDayText(now) + "  " + console::dateText(now)};
    if (foldedAt) {
        plot.rows.push_back("Folded Power Spectrum about " + console::basicNumber(*foldedAt) + " Hz");
        plot.rows.push_back("Folded Power Noise " + console::basicNumber(figure));
    } else {
        plot.rows.push_back("Non-folded Power Spectrum");
    }
    for (std::string& row : settingRows())
        plot.rows.push_back(std::move(row));
    plot.xLabel = "Frequency (Hz)";
    plot.yLabel = "Amplitude";
    plot.xMin = 0.0;
    plot.xMax = foldedAt ? *foldedAt / 2.0 : state_.plotXMax;
    plot.curves.push_back({x, y, QColor(250, 220, 60), Qt::SolidLine});
    plots_.show(plot);
}

} // namespace vorn::humsift
