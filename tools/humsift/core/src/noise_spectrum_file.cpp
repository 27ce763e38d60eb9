#include "vorn/humsift/noise_spectrum_file.h"

#include <algorithm>
#include <fstream>
#include <numeric>

#include "vorn/console/basic_number.h"
#include "vorn/console/leading_number.h"
#include "vorn/console/print_zone.h"

namespace vorn::humsift {

std::string spectrumFileLine(double frequency, double amplitude)
{
    std::string line = console::plainNumber(frequency);
    console::padToNextZone(line);
    line += console::plainNumber(amplitude);
    line += "\r\n";
    return line;
}

std::string spectrumFileText(const Spectrum& spectrum)
{
    std::string text;
    text.reserve(spectrum.binCount() * 28);
    for (std::size_t k = 0; k < spectrum.binCount(); ++k)
        text += spectrumFileLine(spectrum.frequency[k], spectrum.amplitude[k]);
    return text;
}

console::FileWriteResult writeSpectrumFile(const std::string& path, const Spectrum& spectrum)
{
    return console::replaceFile(path, spectrumFileText(spectrum));
}

namespace {

// One number at the start of `text` (after blanks and a "%" that marks a value too wide for its
// column), followed by a blank or the end. Moves `text` past it.
std::optional<double> takeColumn(std::string_view& text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(start);
    if (text.front() == '%')
        text.remove_prefix(1);
    const std::size_t length = console::leadingNumberLength(text);
    const bool endsAtBlank =
        length == text.size() || text[length] == ' ' || text[length] == '\t' || text[length] == '\r';
    if (length == 0 || !endsAtBlank)
        return std::nullopt;
    const auto value = console::parseWholeNumber(text.substr(0, length));
    text.remove_prefix(length);
    return value;
}

bool isCommentOrBlank(const std::string& line)
{
    const std::size_t start = line.find_first_not_of(" \t\r");
    return start == std::string::npos || line[start] == '\'' || line[start] == '#' || line[start] == '/';
}

} // namespace

std::optional<FrequencyPairs> readFrequencyPairs(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return readFrequencyPairs(in);
}

FrequencyPairs readFrequencyPairs(std::istream& in)
{
    FrequencyPairs pairs;
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (isCommentOrBlank(line))
            continue;
        std::string_view rest(line);
        const auto first = takeColumn(rest);
        const auto second = first ? takeColumn(rest) : std::nullopt;
        if (!second) {
            if (pairs.badLines++ == 0)
                pairs.firstBadLine = number;
            continue;
        }
        pairs.first.push_back(*first);
        pairs.second.push_back(*second);
    }
    return pairs;
}

void sortByFirst(FrequencyPairs& pairs)
{
    std::vector<std::size_t> order(pairs.first.size());
    std::iota(order.begin(), order.end(), std::size_t {0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pairs.first[a] < pairs.first[b]; });
    FrequencyPairs sorted;
    for (std::size_t i : order) {
        sorted.first.push_back(pairs.first[i]);
        sorted.second.push_back(pairs.second[i]);
    }
    pairs = std::move(sorted);
}

Spectrum spectrumFromPairs(const FrequencyPairs& pairs)
{
    Spectrum spectrum;
    spectrum.frequency = pairs.first;
    spectrum.unfiltered = pairs.second;
    spectrum.amplitude = pairs.second;
    return spectrum;
}

} // namespace vorn::humsift
