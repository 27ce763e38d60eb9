#pragma once
// Reading the noise file: one value in volts per line, empty lines skipped.
#include <cstddef>
#include <string>
#include <vector>

namespace vorn::humsift {

struct NoiseFile {
    bool opened = false;
    std::vector<double> values;     // every value read, at most maxValues
    bool moreThanMaximum = false;   // the file held more values than maxValues
};

// Reads at most maxValues values; the rest of a longer file is left unread.
NoiseFile readNoiseFile(const std::string& path, std::size_t maxValues);

// The transform takes a power of two of samples: the largest one not above `count` (0 for 0).
std::size_t largestPowerOfTwoAtMost(std::size_t count);

}  // namespace vorn::humsift
