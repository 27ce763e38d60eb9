#pragma once
// Humsift's dialogue with the user: the FAST and ENGINEERING flows, the spectrum computation, the
// filter setup, the analysis menu, the rate scans with their list and file, and the plots. The
// arithmetic lives in humsift_core; this class asks, tells and draws.
#include <optional>
#include <string>
#include <vector>

#include "output_files.h"
#include "plot_figure.h"
#include "plot_session.h"
#include "session_state.h"
#include "vorn/console/value_entry.h"
#include "vorn/humsift/noise_spectrum_file.h"
#include "vorn/humsift/rate_scan.h"

namespace vorn::humsift {

class HumsiftProgram {
public:
    HumsiftProgram(console::ValueEntry& entry, PlotSession& plots, OutputFiles& outputs)
        : entry_(entry), plots_(plots), outputs_(outputs)
    {
    }

    // A line shown under the first screen's introduction (such as where the plots go).
    void setNotice(std::string notice) { notice_ = std::move(notice); }
    void run(); // until the user ends the program
    const SessionState& state() const { return state_; }

private:
    console::Console& con() { return entry_.console(); }
    void waitKey();
    // A value within [low, high], asked again with the range until it is.
    float askWithin(std::string_view prompt, float current, double low, double high, std::string_view what);
    std::int32_t askCountWithin(std::string_view prompt, std::int32_t current, std::int32_t low, std::int32_t high,
                                std::string_view what);
    // A measurement rate or a filter zero, from 1 Hz up to the top of the spectrum.
    float askRate(std::string_view prompt, float current, std::string_view what);
    static constexpr double kLowestRate = 1.0;

    // Main flow (humsift_program.cpp)
    bool runOnce(); // one pass from the start question; false: end the program
    void runFast();
    void runEngineeringMenu();
    void askInterface();

    // Spectrum (noise_spectrum_flow.cpp)
    void computeSpectrum();
    bool readNoiseFile();
    std::optional<FrequencyPairs> askFrequencyPairs();
    bool readSpectrumFile();

    // Filter (filter_setup.cpp)
    void setUpFilter();
    void askMains();
    // Constants from the current rate and zeros; the filter setup also keeps them as the saved copy.
    void updateConstants(bool keepAsSaved);
    void computeResponse();
    // Which filter is in force, for the console and for plots.
    std::string filterRow() const;
    std::vector<std::string> filterInEffectLines(double askedRate) const;

    // Analysis menu (analysis_menu.cpp)
    void runAnalysisMenu();
    bool chooseSpectrumSource();
    void showFigureAtRate();
    void plotFoldedSpectrum();
    void compareRateFiles();
    void plotFilter();

    // Rate scans (rate_flow.cpp)
    void scanRates(ScanKind kind);
    bool rankAndList(const std::vector<RateResult>& results, ScanKind kind); // false: back to the menu
    void plotNoiseFigures(const std::vector<RateResult>& results, ScanKind kind);

    // Plots (analysis_plots.cpp)
    void plotSpectrum(std::optional<double> foldedAt, const std::vector<double>& x, const std::vector<double>& y,
                      double figure);
    std::vector<std::string> settingRows() const;
    std::string askPlotTitle();

    console::ValueEntry& entry_;
    PlotSession& plots_;
    OutputFiles& outputs_;
    SessionState state_;
    std::string notice_;
};

} // namespace vorn::humsift
