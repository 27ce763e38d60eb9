#include "vorn/humsift/rate_scan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

#include "vorn/humsift/rate_evaluator.h"

namespace vorn::humsift {

namespace {

constexpr std::size_t kTrialCount = (kLastTrialZero - kFirstTrialZero) / kTrialZeroStep + 1;
constexpr std::size_t kRatesPerWorkerAtLeast = 64;

double trialZero(std::size_t i)
{
    return kFirstTrialZero + static_cast<double>(i) * kTrialZeroStep;
}

double marked(double figure, double mark)
{
    return (std::isfinite(figure) && figure != 0.0) ? figure : mark;
}

double currentNotchFigure(const RateEvaluator& evaluator, const NotchSetting& notch)
{
    if (notch.off)
        return evaluator.figureWithoutNotch();
    const NotchZeros zeros = zerosForOption(notch.option, notch.zeros, evaluator.rate());
    return evaluator.figure(notchConstants(evaluator.rate(), zeros));
}

// Keeps the first trial that is strictly the lowest, as the trials run in their fixed order.
struct BestTrial {
    double figure = 99999.0;
    int firstZero = 0;
    void offer(double trialFigure, double trialFirstZero)
    {
        const double value = marked(trialFigure, kBlownUpTrial);
        if (value < figure) {
            figure = value;
            firstZero = static_cast<int>(std::lround(trialFirstZero));
        }
    }
};

BestTrial bestTrackingZero(const RateEvaluator& evaluator, bool notchOff)
{
    BestTrial best;
    const double rate = evaluator.rate();
    for (std::size_t i = 0; i < kTrialCount; ++i) {
        const double first = trialZero(i);
        const double figure = notchOff ? evaluator.figureWithoutNotch()
                                       : evaluator.figure(notchConstants(rate, {first, flatSecondZero(rate, first)}));
        best.offer(figure, first);
    }
    return best;
}

BestTrial bestZeroPair(const RateEvaluator& evaluator, bool notchOff)
{
    // The constants are symmetric in the two zeros: each unordered pair is evaluated once, and
    // both orders see the very same figure.
    std::array<std::array<double, kTrialCount>, kTrialCount> figures {};
    const double rate = evaluator.rate();
    for (std::size_t i = 0; i < kTrialCount; ++i) {
        for (std::size_t j = i; j < kTrialCount; ++j) {
            const double figure = notchOff ? evaluator.figureWithoutNotch()
                                           : evaluator.figure(notchConstants(rate, {trialZero(i), trialZero(j)}));
            figures[i][j] = figures[j][i] = figure;
        }
    }
    BestTrial best;
    for (std::size_t i = 0; i < kTrialCount; ++i)
        for (std::size_t j = 0; j < kTrialCount; ++j)
            best.offer(figures[i][j], trialZero(i));
    return best;
}

void scanSlice(const Spectrum& spectrum, std::size_t firstBin, ScanKind kind, const NotchSetting& notch,
               std::span<RateResult> results)
{
    RateEvaluator evaluator(spectrum);
    for (std::size_t j = 0; j < results.size(); ++j) {
        RateResult& result = results[j];
        result.rate = spectrum.frequency[firstBin + j];
        evaluator.setRate(result.rate);
        if (kind == ScanKind::CurrentNotch) {
            result.figure = marked(currentNotchFigure(evaluator, notch), kBlownUpFigure);
            continue;
        }
        const BestTrial best = kind == ScanKind::TrackingZero ? bestTrackingZero(evaluator, notch.off)
                                                              : bestZeroPair(evaluator, notch.off);
        result.figure = best.figure;
        result.bestFirstZero = best.firstZero;
    }
}

} // namespace

RangeChoice scanRange(const Spectrum& spectrum, double start, double end)
{
    if (spectrum.empty())
        return {std::nullopt, "There is no spectrum to scan."};
    if (!(start > 0.0))
        return {std::nullopt, "The start measurement rate must be above 0 Hz."};
    if (!(end > start))
        return {std::nullopt, "The end measurement rate must be above the start rate."};
    const auto& f = spectrum.frequency;
    // Bin after the last one not above the start, bin before the first one above the end.
    const auto firstAbove = [&](double x) {
        return static_cast<std::size_t>(std::upper_bound(f.begin(), f.end(), x) - f.begin());
    };
    const std::size_t first = firstAbove(start);
    const std::size_t afterEnd = firstAbove(end);
    const std::size_t last = afterEnd == f.size() ? f.size() - 1 : afterEnd - 1;
    if (first >= f.size() || afterEnd == 0 || last < first)
        return {std::nullopt, "No spectrum frequency lies inside that band of measurement rates."};
    return {RateIndexRange {first, last}, {}};
}

double figureAtRate(const Spectrum& spectrum, double rate, const NotchSetting& notch)
{
    RateEvaluator evaluator(spectrum);
    evaluator.setRate(rate);
    return marked(currentNotchFigure(evaluator, notch), kBlownUpFigure);
}

std::vector<RateResult> scanRates(const Spectrum& spectrum, RateIndexRange range, ScanKind kind,
                                  const NotchSetting& notch, unsigned threads)
{
    std::vector<RateResult> results(range.count());
    const std::size_t workers =
        std::clamp<std::size_t>(results.size() / kRatesPerWorkerAtLeast, 1, std::max(1u, threads));
    const std::size_t perWorker = (results.size() + workers - 1) / workers;
    std::vector<std::jthread> helpers;
    for (std::size_t w = 1; w < workers; ++w) {
        const std::size_t begin = w * perWorker;
        if (begin >= results.size())
            break;
        const std::size_t count = std::min(perWorker, results.size() - begin);
        helpers.emplace_back([&, begin, count] {
            scanSlice(spectrum, range.first + begin, kind, notch, std::span(results).subspan(begin, count));
        });
    }
    scanSlice(spectrum, range.first, kind, notch, std::span(results).first(std::min(perWorker, results.size())));
    helpers.clear(); // joins every helper before the results leave
    return results;
}

} // namespace vorn::humsift
