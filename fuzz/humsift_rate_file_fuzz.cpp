// Humsift's rate file, written and read back as the comparison of two rate files does: the
// ranked rates come from the fuzzer, the text goes through the same reader as any file named at
// the prompt, with arbitrary text after it. Every rate row reads back as one pair with its rate,
// and no heading line is taken for a rate.
#include "fuzz_check.h"
#include "vorn/humsift/noise_spectrum_file.h"
#include "vorn/humsift/rate_report.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <sstream>

namespace {

using vorn::fuzz::check;

vorn::humsift::RateReport reportFrom(FuzzedDataProvider& input)
{
    using namespace vorn::humsift;
    RateReport report;
    // The title is one line typed at the console.
    report.title = input.ConsumeRandomLengthString(80);
    report.title = report.title.substr(0, report.title.find_first_of("\r\n"));
    report.when = input.ConsumeIntegralInRange<std::time_t>(0, 4102444800);
    report.halfWidth = input.ConsumeIntegralInRange(0, 100);
    report.notchOff = input.ConsumeBool();
    report.kind = input.PickValueInArray({ScanKind::CurrentNotch, ScanKind::TrackingZero, ScanKind::BothZeros});
    const std::size_t rows = input.ConsumeIntegralInRange<std::size_t>(0, 64);
    for (std::size_t i = 0; i < rows && input.remaining_bytes() > 0; ++i) {
        RateResult result;
        result.rate = input.ConsumeFloatingPointInRange(0.01, 9999.0);
        result.averaged = input.ConsumeBool() ? kBlownUpFigure : input.ConsumeFloatingPointInRange(0.0, 1.0e6);
        result.bestFirstZero = input.ConsumeIntegralInRange(kFirstTrialZero, kLastTrialZero);
        report.ranked.push_back(result);
    }
    return report;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vorn::humsift;
    FuzzedDataProvider input(data, size);
    const RateReport report = reportFrom(input);
    std::istringstream written(rateFileText(report));
    const FrequencyPairs pairs = readFrequencyPairs(written);
    check(pairs.first.size() == report.ranked.size());
    for (std::size_t i = 0; i < pairs.first.size(); ++i)
        check(std::fabs(pairs.first[i] - report.ranked[i].rate) <= 0.0051);

    std::istringstream text(input.ConsumeRemainingBytesAsString());
    FrequencyPairs any = readFrequencyPairs(text);
    check(any.first.size() == any.second.size());
    sortByFirst(any);
    return 0;
}
