#pragma once
// Scanning measurement rates: the noise figure at every bin frequency of a band, with the current
// notch, with the best tracking first zero, or with the best pair of zeros.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "vorn/humsift/noise_spectrum.h"
#include "vorn/humsift/notch_filter.h"

namespace vorn::humsift {

enum class ScanKind {
    CurrentNotch, // the notch as set up
    TrackingZero, // best first zero per rate, second zero for a flat response
    BothZeros,    // best pair of zeros per rate
};

// What the figures become where the filter blows up (a rate on or near a zero) or gives nothing.
constexpr double kBlownUpFigure = 9999.0;
constexpr double kBlownUpTrial = 999.0;
// The zeros tried per rate: 20, 25, ..., 80 Hz.
constexpr int kFirstTrialZero = 20;
constexpr int kLastTrialZero = 80;
constexpr int kTrialZeroStep = 5;

struct NotchSetting {
    NotchOption option = NotchOption::Mains60;
    NotchZeros zeros;
    bool off = false;
};

struct RateResult {
    double rate = 0.0;
    double figure = 0.0;
    int bestFirstZero = 0; // tracking and pair scans only
    double averaged = 0.0; // filled by the ranking
};

// Bins first .. last of the spectrum are the rates scanned.
struct RateIndexRange {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t count() const { return last - first + 1; }
};

struct RangeChoice {
    std::optional<RateIndexRange> range;
    std::string problem; // why there is no range
};

// The rates run from the bin after the last one not above `start` to the bin before the first
// one above `end`, so each is a bin frequency. A start of 0 or below, an end not above the start,
// or a band that holds no bin is refused with a reason.
RangeChoice scanRange(const Spectrum& spectrum, double start, double end);

// The figure of the notch setting at one rate through the filter model, blow-ups marked 9999.
double figureAtRate(const Spectrum& spectrum, double rate, const NotchSetting& notch);

// Scans every rate of the range; `threads` workers share the rates.
std::vector<RateResult> scanRates(const Spectrum& spectrum, RateIndexRange range, ScanKind kind,
                                  const NotchSetting& notch, unsigned threads = 2);

} // namespace vorn::humsift
