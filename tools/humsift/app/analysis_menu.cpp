// The ENGINEERING analysis menu and its single-rate choices.
#include <cmath>

#include "humsift_program.h"
#include "vorn/console/basic_number.h"
#include "vorn/humsift/folding.h"
#include "vorn/humsift/noise_spectrum_file.h"
#include "vorn/humsift/rate_report.h"

namespace vorn::humsift {

namespace {

const std::vector<std::string> kMenuLines = {
    "Plot Unfolded Sensor Power Spectrum  .............................. ( 0 )",
    "Get the FOLDED noise power for the selected Fs and filter ......... ( 3 )",
    "Plot FOLDED Power Spectrum at a given measuring rate .............. ( 4 )",
    "List/plot best measuring rate vs FOLDED noise ..................... ( 5 )",
    "List/plot best measuring rate vs FOLDED noise with best tracking Fz2( 6 )",
    "List/plot best measuring rate vs FOLDED noise with best Fz1 Fz2 ... ( 7 )",
    "Plot two files of best measuring rate from 5,6 or 7 above ......... ( 8 )",
    "Change the filter characteristics ................................. ( 9 )",
    "Plot the filter characteristics ................................... ( 10 )",
    "All Done here -  go to the previous menu .......................... ( 11 )",
};
constexpr int kLeave = 11;
const std::vector<std::int32_t> kMenuChoices = {0, 3, 4, 5, 6, 7, 8, 9, 10, kLeave};

struct Folded {
    std::vector<double> power;
    Folding folding;
};

Folded foldAt(const Spectrum& spectrum, double rate)
{
    Folded result;
    result.power.assign(spectrum.binCount(), 0.0);
    std::vector<double> power(spectrum.binCount());
    for (std::size_t k = 0; k < power.size(); ++k)
        power[k] = spectrum.unfiltered[k] * spectrum.unfiltered[k];
    result.folding = foldPower(spectrum.frequency, power, rate, result.power);
    return result;
}

double markedFigure(double figure)
{
    return (std::isfinite(figure) && figure != 0.0) ? figure : kBlownUpFigure;
}

} // namespace

bool HumsiftProgram::chooseSpectrumSource()
{
    if (state_.dataLoaded) {
        if (entry_.askChoice({"Use existing computed PSD data        ( 0 ), or"},
                             "read already computed PSD from a file ( 1 )", 0, {0, 1}) == 0)
            return !state_.spectrum.empty();
        con().printLine(" The reading of this data file will overwrite");
        con().printLine(" any data that may have been alread FFT computed");
    }
    return readSpectrumFile();
}

void HumsiftProgram::runAnalysisMenu()
{
    if (!chooseSpectrumSource()) {
        con().printLine("There is no spectrum to analyse yet.");
        waitKey();
        return;
    }
    state_.plotXMax = std::floor(state_.spectrum.lastFrequency() / 20.0) * 20.0;
    if (state_.plotXMax <= 0.0)
        state_.plotXMax = state_.spectrum.lastFrequency();
    if (state_.response.size() != state_.spectrum.binCount())
        computeResponse();
    for (;;) {
        con().clearScreen();
        state_.menuChoice = entry_.askChoice(kMenuLines, "", state_.menuChoice, kMenuChoices);
        switch (state_.menuChoice) {
        case 0: plotSpectrum(std::nullopt, state_.spectrum.frequency, state_.spectrum.amplitude, 0.0); break;
        case 3: showFigureAtRate(); break;
        case 4: plotFoldedSpectrum(); break;
        case 5: scanRates(ScanKind::CurrentNotch); break;
        case 6: scanRates(ScanKind::TrackingZero); break;
        case 7: scanRates(ScanKind::BothZeros); break;
        case 8: compareRateFiles(); break;
        case 9:
            setUpFilter();
            applyFilter(state_.spectrum, state_.response);
            break;
        case 10: plotFilter(); break;
        case kLeave: return;
        }
    }
}

void HumsiftProgram::showFigureAtRate()
{
    const float rate = askRate("Vorn measurement Rate in Hz  ", state_.rate, "measurement rate in Hz");
    state_.rate = rate;
    // The filter response stays as last computed, as the menu says; the lines below say which it is.
    const Folded folded = foldAt(state_.spectrum, rate);
    const double figure = markedFigure(noiseFigure(folded.power, state_.response, folded.folding.figureBins));
    con().printLine("Measurement rate= " + console::basicNumber(rate));
    for (const std::string& line : filterInEffectLines(rate))
        con().printWrapped(line);
    con().printLine("Noise Power at this Vorn measurement rate and notch filter setting");
    con().printLine(console::basicNumber(figure));
    waitKey();
}

void HumsiftProgram::plotFoldedSpectrum()
{
    const std::string title = askPlotTitle();
    state_.rate = askRate("Vorn measurement Rate in Hz  ", state_.rate, "measurement rate in Hz");
    const float rate = state_.rate;
    updateConstants(false);
    computeResponse();
    const Folded folded = foldAt(state_.spectrum, rate);
    const double figure = markedFigure(noiseFigure(folded.power, state_.response, folded.folding.figureBins));
    std::vector<double> x(folded.folding.baseBins);
    std::vector<double> y(folded.folding.baseBins);
    for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = state_.spectrum.frequency[k];
        y[k] = std::sqrt(folded.power[k]);
    }
    state_.plotTitle = title;
    plotSpectrum(rate, x, y, figure);
}

void HumsiftProgram::compareRateFiles()
{
    con().printLine("Enter the name of two PSD files you want to compare");
    con().printLine("The two data files must cover the same frequency span");
    auto first = askFrequencyPairs();
    if (!first)
        return;
    const std::string firstName = state_.spectrumFile;
    sortByFirst(*first);
    con().printLine("enter the second file to plot");
    auto second = askFrequencyPairs();
    if (!second)
        return;
    const std::string secondName = state_.spectrumFile;
    sortByFirst(*second);
    state_.bandStart = static_cast<float>(std::floor(first->first.front()));
    state_.bandEnd = static_cast<float>(std::floor(first->first.back()) + 1.0);
    PlotFigure figure;
    figure.rows = {askPlotTitle(), "Folded noise vs Measurement Rate", "  _____  " + firstName,
                   "  -----  " + secondName, "hit M to display menu"};
    figure.xLabel = "Measurement rate (Hz)";
    figure.yLabel = "Noise figure";
    figure.xMin = state_.bandStart;
    figure.xMax = state_.bandEnd;
    figure.curves.push_back({first->first, first->second, QColor(250, 220, 60), Qt::SolidLine});
    figure.curves.push_back({second->first, second->second, QColor(90, 200, 250), Qt::DashLine});
    plots_.show(figure);
}

void HumsiftProgram::plotFilter()
{
    const FilterInEffect& filter = state_.filter;
    con().printLine("Measurement rate= " + console::basicNumber(filter.rate));
    for (const std::string& line : filterInEffectLines(filter.rate))
        con().printWrapped(line);
    waitKey();
    PlotFigure figure;
    figure.rows = {"Filter response", "Vorn Measuring Rate = " + console::basicNumber(filter.rate),
                   "Notch Zero Locations = " + console::basicNumber(filter.zeros.first) +
                       console::basicNumber(filter.zeros.second),
                   filterRow(), "hit M to display menu"};
    figure.xLabel = "Frequency (Hz)";
    figure.yLabel = "Filter response H";
    figure.xMin = 0.0;
    figure.xMax = state_.plotXMax;
    figure.curves.push_back({state_.spectrum.frequency, state_.response, QColor(120, 240, 120), Qt::SolidLine});
    plots_.show(figure);
    applyFilter(state_.spectrum, state_.response);
}

} // namespace vorn::humsift
