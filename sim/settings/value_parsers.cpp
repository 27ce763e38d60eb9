#include "settings/value_parsers.h"

#include <cstdlib>

namespace vorn::sim {

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::optional<double> parseDouble(std::string_view text)
{
    const std::string copy(trim(text));
    if (copy.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseBool(std::string_view text)
{
    text = trim(text);
    if (text == "yes" || text == "true" || text == "1" || text == "on") {
        return true;
    }
    if (text == "no" || text == "false" || text == "0" || text == "off") {
        return false;
    }
    return std::nullopt;
}

// Comma-separated numbers, any count; "none" is the empty list.
std::optional<std::vector<double>> parseNumberList(std::string_view text)
{
    if (trim(text) == "none") {
        return std::vector<double> {};
    }
    std::vector<double> values;
    while (true) {
        const auto comma = text.find(',');
        const auto value = parseDouble(text.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        if (comma == std::string_view::npos) {
            return values;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<std::vector<double>> parseNumbers(std::string_view text, std::size_t count)
{
    auto values = trim(text) == "none" ? std::nullopt : parseNumberList(text);
    return values && values->size() == count ? values : std::nullopt;
}

std::optional<double> parseNonNegative(std::string_view text)
{
    const auto value = parseDouble(text);
    return value && *value >= 0.0 ? value : std::nullopt;
}

std::optional<double> parsePositive(std::string_view text)
{
    const auto value = parseDouble(text);
    return value && *value > 0.0 ? value : std::nullopt;
}

std::string bad(std::string_view key, std::string_view value)
{
    return "bad value for " + std::string(key) + ": \"" + std::string(value) + "\"";
}

std::optional<uint16_t> parseRevision(std::string_view text)
{
    // A decimal number with at most two places: "3.4" is 3.40, as Humgather and the library read
    // the answer bytes 3, 40; the fraction byte is the hundredths.
    text = trim(text);
    const auto dot = text.find('.');
    const auto places = dot == std::string_view::npos ? std::string_view {} : text.substr(dot + 1);
    const auto whole = parseInt<uint8_t>(text.substr(0, dot));
    const auto fraction = places.empty() ? std::optional<uint8_t>(0) : parseInt<uint8_t>(places);
    if (!whole || !fraction || places.size() > 2 || (dot != std::string_view::npos && places.empty())) {
        return std::nullopt;
    }
    const int hundredths = places.size() == 1 ? *fraction * 10 : *fraction;
    return static_cast<uint16_t>((*whole << 8) | hundredths);
}

} // namespace vorn::sim
