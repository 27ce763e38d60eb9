// The rate scans: the band, the scan, the ranked list, the rate file and the noise-figure plot.
#include <algorithm>
#include <ctime>

#include "humsift_program.h"
#include "vorn/console/basic_number.h"
#include "vorn/humsift/ranking.h"
#include "vorn/humsift/rate_report.h"

namespace vorn::humsift {

void HumsiftProgram::scanRates(ScanKind kind)
{
    if (!state_.fast()) {
        con().printLine("Specify a range of measurement rates");
        state_.bandStart = askRate("Start measurement Rate in Hz  ", state_.bandStart, "measurement rate in Hz");
        state_.bandEnd = askRate("end measurement Rate in Hz  ", state_.bandEnd, "measurement rate in Hz");
    }
    const RangeChoice range = scanRange(state_.spectrum, state_.bandStart, state_.bandEnd);
    if (!range.range) {
        con().printLine(range.problem);
        waitKey();
        return;
    }
    con().printLine("             PLEASE  WAIT  WHILE  ANALYZING  DATA");
    if (kind == ScanKind::TrackingZero)
        state_.notchOption = static_cast<std::int32_t>(NotchOption::FirstZero);
    const std::vector<RateResult> results =
        vorn::humsift::scanRates(state_.spectrum, *range.range, kind, state_.notchSetting());
    if (kind != ScanKind::CurrentNotch) {
        std::string rates;
        for (const RateResult& r : results)
            rates += console::basicNumber(r.rate) + "\n";
        con().print(rates);
    }
    // What stays in force afterwards: the tracking scan gives the saved settings back; the other
    // scans leave the constants of their last rate (and, for the pair scan, its last zeros).
    const float lastRate = static_cast<float>(results.back().rate);
    if (kind == ScanKind::TrackingZero) {
        state_.notchOption = state_.saved.option;
        state_.firstZero = static_cast<float>(state_.saved.zeros.first);
        state_.secondZero = static_cast<float>(state_.saved.zeros.second);
        state_.constants = state_.saved.constants;
    } else {
        if (kind == ScanKind::BothZeros) {
            state_.firstZero = static_cast<float>(kLastTrialZero);
            state_.secondZero = static_cast<float>(kLastTrialZero);
        }
        const NotchZeros zeros = kind == ScanKind::BothZeros
                                     ? NotchZeros {state_.firstZero, state_.secondZero}
                                     : zerosForOption(static_cast<NotchOption>(state_.notchOption),
                                                      {state_.firstZero, state_.secondZero}, lastRate);
        state_.constants = notchConstants(lastRate, zeros);
    }

    for (;;) {
        if (!rankAndList(results, kind))
            return;
        const console::Key key = con().waitForKey();
        if (key.isLetter('P'))
            plotNoiseFigures(results, kind);
        if (state_.fast())
            return;
        if (entry_.askChoice({}, "Back to previous menu ( 0 ),  Define another averaging band ( 1 ) ", 0, {0, 1}) == 0)
            return;
    }
}

bool HumsiftProgram::rankAndList(const std::vector<RateResult>& results, ScanKind kind)
{
    if (state_.notchOff == 1) {
        state_.continueNotchOff =
            entry_.askChoice({" **** The notch filter is turned off *****",
                              " ***  hence the best measurement rate verses noise will not be accurate if",
                              " ***  you are going to use the Vorn with the default notch setting of ON"},
                             "Return to main menu to turn Notch on ( 0 ),  or continue with Notch OFF ( 1 ) ",
                             state_.continueNotchOff, {0, 1});
        if (state_.continueNotchOff == 0)
            return false;
    }
    if (!state_.fast()) {
        for (const char* line :
             {" At each frequency in the spectrum data, +/-N surronding frequencies",
              " are averaged together to determine the best frequency.",
              " The wider the surronding band the less sensitive the system will be to noise.",
              " This averaged noise amplitude data is then displayed for a given",
              " range of frequencies sorted from lowest noise frequency to highest", " noise frequency."})
            con().printLine(line);
        con().printLine("How many surrounding frequencies to average together. ie if 10 then +10 and -10");
        // Wider than half the scan, every rate would average nearly the same neighbours.
        const auto widest = static_cast<std::int32_t>(results.size() / 2);
        state_.halfWidth = askCountWithin("if no surrounding frequencies to average together then enter 0",
                                          std::min(state_.halfWidth, widest), 0, widest,
                                          "number of frequencies on each side (half the " +
                                              std::to_string(results.size()) + " rates scanned at most)");
    }
    state_.rateToFile = entry_.askChoice(
        {}, "Output the best measurement rate results to a file ?   NO ( 0 ),  YES ( 1 )  ", state_.rateToFile, {0, 1});
    if (state_.rateToFile == 1) {
        state_.rateFile = outputs_.askName("output file name for rate data ", state_.rateFile);
        state_.rateTitle = entry_.askText("Title to describe the data in the file ", state_.rateTitle);
    }

    RateReport report;
    report.title = state_.rateTitle;
    report.when = std::time(nullptr);
    report.halfWidth = state_.halfWidth;
    report.window = state_.windowKind();
    report.notchOff = state_.notchOff == 1;
    report.kind = kind;
    report.ranked = rankRates(results, state_.halfWidth);
    std::string writeFailure;
    if (state_.rateToFile == 1) {
        const console::FileWriteResult written = writeRateFile(state_.rateFile, report);
        if (!written)
            writeFailure = "Could not write the rate file " + state_.rateFile + ": " + written.reason + ".";
    }
    if (!writeFailure.empty())
        con().printWrapped(writeFailure);

    std::string list = " Average amplitude data around target Measurement rate\n";
    for (const std::string& head : rateColumnHeads(kind))
        list += head + "\n";
    list += "\n";
    for (const RateResult& r : report.ranked)
        list += rateRow(r, kind) + "\n";
    con().print(list);
    // Said again below the list, where it is seen.
    if (!writeFailure.empty())
        con().printWrapped(writeFailure);
    for (const char* line :
         {"You're at the end of the list.", "Use scroll bar on right side", "of window to view beginning of list",
          "for low noise measurement rates to use.", "", "Hit P to plot this measuring rate verses noise data or",
          "Q to quit and return to main menu"})
        con().printLine(line);
    return true;
}

void HumsiftProgram::plotNoiseFigures(const std::vector<RateResult>& results, ScanKind kind)
{
    std::vector<RateResult> inRateOrder = results;
    averageNeighbours(inRateOrder, state_.halfWidth);
    PlotFigure figure;
    figure.rows = {askPlotTitle(),
                   "Folded noise vs Measurement Rate",
                   "Frequencies averaged together +/-" + console::basicNumber(state_.halfWidth),
                   windowText(state_.windowKind()),
                   notchText(state_.notchOff == 1),
                   kind == ScanKind::CurrentNotch ? "Notch Zero Locations = " + console::basicNumber(state_.firstZero) +
                                                        console::basicNumber(state_.secondZero)
                                                  : std::string("Optimized Notch Zeroes at each rate"),
                   "hit M to display menu"};
    figure.xLabel = "Measurement rate (Hz)";
    figure.yLabel = "Averaged folded noise";
    PlotCurve curve {{}, {}, QColor(250, 220, 60), Qt::SolidLine};
    for (const RateResult& r : inRateOrder) {
        curve.x.push_back(r.rate);
        curve.y.push_back(r.averaged);
    }
    figure.xMin = curve.x.front();
    figure.xMax = curve.x.back();
    figure.curves.push_back(std::move(curve));
    plots_.show(figure);
}

} // namespace vorn::humsift
