#include "vorn/humsift/noise_file.h"

#include <cmath>
#include <fstream>
#include <optional>

#include "vorn/console/leading_number.h"

namespace vorn::humsift {

namespace {

bool isBlankLine(const std::string& line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

std::optional<double> sampleOf(const std::string& line)
{
    const auto value = console::parseWholeNumber(line);
    if (!value || std::fabs(*value) > kLargestSampleVolts)
        return std::nullopt;
    return value;
}

} // namespace

NoiseFile readNoiseFile(const std::string& path, std::size_t maxValues)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return NoiseFile {};
    return readNoiseValues(in, maxValues);
}

NoiseFile readNoiseValues(std::istream& in, std::size_t maxValues)
{
    NoiseFile file;
    file.opened = true;
    file.values.reserve(maxValues < 65536 ? maxValues : 65536);
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (isBlankLine(line))
            continue;
        const auto sample = sampleOf(line);
        if (!sample) {
            if (file.badLines++ == 0)
                file.firstBadLine = number;
            continue;
        }
        if (file.values.size() == maxValues) {
            file.moreThanMaximum = true;
            break;
        }
        file.values.push_back(*sample);
    }
    return file;
}

std::size_t largestPowerOfTwoAtMost(std::size_t count)
{
    if (count == 0)
        return 0;
    std::size_t power = 1;
    while (power <= count / 2)
        power *= 2;
    return power;
}

} // namespace vorn::humsift
