#pragma once
// The ranked list of rates as the rate file and the console show it.
#include <ctime>
#include <string>
#include <vector>

#include "vorn/console/file_replace.h"
#include "vorn/humsift/rate_scan.h"
#include "vorn/humsift/sample_window.h"

namespace vorn::humsift {

struct RateReport {
    std::string title;
    std::time_t when = 0;
    int halfWidth = 10;
    Window window = Window::Hann;
    bool notchOff = false;
    ScanKind kind = ScanKind::CurrentNotch;
    std::vector<RateResult> ranked;
};

std::vector<std::string> rateColumnHeads(ScanKind kind); // without the leading '
std::string rateRow(const RateResult& result, ScanKind kind);
std::string windowText(Window window); // "No Window Applied" / "Hann Window Applied"
std::string notchText(bool notchOff);  // "No Wide Notch Filter Applied" / "Wide Notch Filter Applied"

// The whole rate file, CR LF line ends.
std::string rateFileText(const RateReport& report);
// Replaces the file only once the whole report is written.
console::FileWriteResult writeRateFile(const std::string& path, const RateReport& report);

} // namespace vorn::humsift
