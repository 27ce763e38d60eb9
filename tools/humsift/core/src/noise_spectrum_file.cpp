#include "vorn/humsift/noise_spectrum_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <numeric>

#include "vorn/console/basic_number.h"
#include "vorn/console/leading_number.h"
#include "vorn/console/print_zone.h"

namespace vorn::humsift {

std::string spectrumFileLine(double frequency, double amplitude) {
    std::string line = console::basicNumber(frequency);
    console::padToNextZone(line);
    line += console::basicNumber(amplitude);
    line += "\r\n";
    return line;
}

bool writeSpectrumFile(const std::string& path, const Spectrum& spectrum) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    std::string text;
    text.reserve(spectrum.binCount() * 28);
    for (std::size_t k = 0; k < spectrum.binCount(); ++k)
        text += spectrumFileLine(spectrum.frequency[k], spectrum.amplitude[k]);
    out << text;
    return static_cast<bool>(out.flush());
}

namespace {

bool startsWithNumber(const std::string& text, std::size_t at) {
    if (at >= text.size()) return false;
    std::size_t i = at;
    if (text[i] == '+' || text[i] == '-') ++i;
    if (i < text.size() && text[i] == '.') ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

// A number as the rate file writes it: a "%" marks a value too wide for its column.
double pictureNumber(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start != std::string_view::npos && text[start] == '%') text.remove_prefix(start + 1);
    return console::parseLeadingNumber(text);
}

}  // namespace

std::optional<FrequencyPairs> readFrequencyPairs(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    FrequencyPairs pairs;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        const char lead = line[start];
        if (lead == '\'' || lead == '#' || lead == '/') continue;
        const std::size_t numberStart = lead == '%' ? start + 1 : start;
        if (!startsWithNumber(line, numberStart)) continue;
        const std::size_t blank = line.find_first_of(" \t", numberStart);
        pairs.first.push_back(console::parseLeadingNumber(std::string_view(line).substr(numberStart)));
        pairs.second.push_back(blank == std::string::npos ? 0.0 : pictureNumber(std::string_view(line).substr(blank)));
    }
    return pairs;
}

void sortByFirst(FrequencyPairs& pairs) {
    std::vector<std::size_t> order(pairs.first.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pairs.first[a] < pairs.first[b]; });
    FrequencyPairs sorted;
    for (std::size_t i : order) {
        sorted.first.push_back(pairs.first[i]);
        sorted.second.push_back(pairs.second[i]);
    }
    pairs = std::move(sorted);
}

Spectrum spectrumFromPairs(const FrequencyPairs& pairs) {
    Spectrum spectrum;
    spectrum.frequency = pairs.first;
    spectrum.unfiltered = pairs.second;
    spectrum.amplitude = pairs.second;
    return spectrum;
}

}  // namespace vorn::humsift
