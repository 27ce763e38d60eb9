#include "vorn/humsift/noise_file.h"

#include <fstream>

#include "vorn/console/leading_number.h"

namespace vorn::humsift {

namespace {
bool isBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}
}  // namespace

NoiseFile readNoiseFile(const std::string& path, std::size_t maxValues) {
    NoiseFile file;
    std::ifstream in(path, std::ios::binary);
    if (!in) return file;
    file.opened = true;
    file.values.reserve(maxValues < 65536 ? maxValues : 65536);
    std::string line;
    while (std::getline(in, line)) {
        if (isBlankLine(line)) continue;
        if (file.values.size() == maxValues) {
            file.moreThanMaximum = true;
            break;
        }
        file.values.push_back(console::parseLeadingNumber(line));
    }
    return file;
}

std::size_t largestPowerOfTwoAtMost(std::size_t count) {
    if (count == 0) return 0;
    std::size_t power = 1;
    while (power <= count / 2) power *= 2;
    return power;
}

}  // namespace vorn::humsift
