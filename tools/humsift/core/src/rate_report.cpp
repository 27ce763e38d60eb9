#include "vorn/humsift/rate_report.h"

#include "vorn/console/basic_number.h"
#include "vorn/console/clock_text.h"
#include "vorn/console/number_picture.h"

namespace vorn::humsift {

namespace {
constexpr const char* kRowMask = "####.##    ";
}

std::vector<std::string> rateColumnHeads(ScanKind kind)
{
    if (kind == ScanKind::CurrentNotch)
        return {"   Vorn", "Measurement   Noise ", "   Rate       Figure"};
    return {"   Vorn", "Measurement   Noise     Tracking Notch", "   Rate       Figure     Fz1      Fz2"};
}

std::string rateRow(const RateResult& result, ScanKind kind)
{
    std::string row = console::formatPicture(result.rate, kRowMask) + console::formatPicture(result.averaged, kRowMask);
    if (kind != ScanKind::CurrentNotch) {
        // The second zero is shown as the tracking zero for both optimising scans.
        row += console::formatPicture(result.bestFirstZero, kRowMask);
        row += console::formatPicture(flatSecondZero(result.rate, result.bestFirstZero), kRowMask);
    }
    return row;
}

std::string windowText(Window window)
{
    return window == Window::Hann ? "Hann Window Applied" : "No Window Applied";
}

std::string notchText(bool notchOff)
{
    return notchOff ? "No Wide Notch Filter Applied" : "Wide Notch Filter Applied";
}

std::string rateFileText(const RateReport& report)
{
    std::string text;
    const auto line = [&](const std::string& content) { text += content + "\r\n"; };
    line("'" + report.title);
    line("'");
    line("'" + console::timeOfDayText(report.when) + "  " + console::dateText(report.when));
    line("'Frequencies averaged together +/-" + console::basicNumber(report.halfWidth));
    line("'" + windowText(report.window));
    const bool tracking = report.kind == ScanKind::TrackingZero && !report.notchOff;
    line("'" + (tracking ? std::string("Optimized Tracking Notch Zeroes at each rate") : notchText(report.notchOff)));
    line("'");
    line("'Average amplitude data around target Measurement rate");
    line("'");
    for (const std::string& head : rateColumnHeads(report.kind))
        line("'" + head);
    line("'");
    for (const RateResult& result : report.ranked)
        line(rateRow(result, report.kind));
    return text;
}

console::FileWriteResult writeRateFile(const std::string& path, const RateReport& report)
{
    return console::replaceFile(path, rateFileText(report));
}

} // namespace vorn::humsift
