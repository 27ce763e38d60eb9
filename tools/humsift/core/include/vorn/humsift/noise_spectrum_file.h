#pragma once
// The spectrum file: one line per bin, frequency then amplitude (at the next print zone), in the
// tools' plain number format, CR LF line ends, no header. Reading accepts any text of such pairs,
// skipping comment lines, so a rate file reads back the same way.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vorn/humsift/noise_spectrum.h"

namespace vorn::humsift {

std::string spectrumFileLine(double frequency, double amplitude);
bool writeSpectrumFile(const std::string& path, const Spectrum& spectrum);

struct FrequencyPairs {
    std::vector<double> first;   // frequency (or rate)
    std::vector<double> second;  // amplitude (or noise figure)
};

// Nothing when the file cannot be opened. Lines that do not start with a number are skipped; a
// "%" before a number (a value too wide for its column in a rate file) is read past.
std::optional<FrequencyPairs> readFrequencyPairs(const std::string& path);

// Sorts the pairs by their first number, keeping pairs with equal first numbers in file order.
void sortByFirst(FrequencyPairs& pairs);

// The pairs as a spectrum whose unfiltered and working amplitudes are the second numbers.
Spectrum spectrumFromPairs(const FrequencyPairs& pairs);

}  // namespace vorn::humsift
