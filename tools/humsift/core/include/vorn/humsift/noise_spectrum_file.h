#pragma once
// The spectrum file: one line per bin, frequency then amplitude (at the next print zone), in the
// noise file's plain decimal format (never an exponent), CR LF line ends, no header. Reading accepts any text of such pairs,
// skipping comment lines, so a rate file reads back the same way.
#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vorn/console/file_replace.h"
#include "vorn/humsift/noise_spectrum.h"

namespace vorn::humsift {

std::string spectrumFileLine(double frequency, double amplitude);
std::string spectrumFileText(const Spectrum& spectrum);
// Replaces the file only once the whole spectrum is written.
console::FileWriteResult writeSpectrumFile(const std::string& path, const Spectrum& spectrum);

struct FrequencyPairs {
    std::vector<double> first;    // frequency (or rate)
    std::vector<double> second;   // amplitude (or noise figure)
    std::size_t badLines = 0;     // lines that are neither comments nor two numbers
    std::size_t firstBadLine = 0; // its line number, from 1 (0: none)

    bool mostlyNotPairs() const { return badLines > first.size(); }
};

// Nothing when the file cannot be opened. Empty lines and comment lines (', # or / first) are
// skipped; every other line must start with two numbers separated by blanks (a frequency and an
// amplitude; more columns may follow), or it is counted as a bad line and left out. A "%" before a
// number (a value too wide for its column in a rate file) is read past.
std::optional<FrequencyPairs> readFrequencyPairs(const std::string& path);
// The same from text already open.
FrequencyPairs readFrequencyPairs(std::istream& in);

// Sorts the pairs by their first number, keeping pairs with equal first numbers in file order.
void sortByFirst(FrequencyPairs& pairs);

// The pairs as a spectrum whose unfiltered and working amplitudes are the second numbers.
Spectrum spectrumFromPairs(const FrequencyPairs& pairs);

} // namespace vorn::humsift
