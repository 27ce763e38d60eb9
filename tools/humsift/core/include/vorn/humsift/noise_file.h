#pragma once
// Reading the noise file: one value in volts per line, empty lines skipped. A line that is not a
// number ("hello", "nan", "12abc", "1,5") or lies far outside the unit's +/-5 V is not a sample:
// it is counted and skipped, so it can neither shift the spectrum nor push real samples out.
#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace vorn::humsift {

// Samples beyond twice the unit's full scale cannot have come from it.
inline constexpr double kLargestSampleVolts = 10.0;

struct NoiseFile {
    bool opened = false;
    std::vector<double> values;   // every sample read, at most maxValues
    bool moreThanMaximum = false; // the file held more samples than maxValues
    std::size_t badLines = 0;     // lines that are not samples (among those read)
    std::size_t firstBadLine = 0; // its line number, from 1 (0: none)

    // More lines that are not samples than samples: not a noise file at all.
    bool mostlyNotSamples() const { return badLines > values.size(); }
};

// Reads at most maxValues samples; the rest of a longer file is left unread.
NoiseFile readNoiseFile(const std::string& path, std::size_t maxValues);
// The same from text already open (the file reader opens it; the fuzz target feeds bytes).
NoiseFile readNoiseValues(std::istream& in, std::size_t maxValues);

// The transform takes a power of two of samples: the largest one not above `count` (0 for 0).
std::size_t largestPowerOfTwoAtMost(std::size_t count);

} // namespace vorn::humsift
