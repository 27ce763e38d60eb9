// The value spellings of the simulator's settings: numbers, flags, lists and revisions,
// shared by the configuration file and the command line.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::sim {

std::string_view trim(std::string_view s);

// Decimal, or hexadecimal after "0x".
template <typename Int> std::optional<Int> parseInt(std::string_view text)
{
    text = trim(text);
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    Int value {};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc {} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDouble(std::string_view text);
// yes/no, true/false, on/off, 1/0.
std::optional<bool> parseBool(std::string_view text);
// Comma-separated numbers, exactly `count` of them.
std::optional<std::vector<double>> parseNumbers(std::string_view text, std::size_t count);
// Comma-separated numbers, any count; "none" is the empty list.
std::optional<std::vector<double>> parseNumberList(std::string_view text);
std::optional<double> parseNonNegative(std::string_view text);
std::optional<double> parsePositive(std::string_view text);
// "3.67" -> 0x0343, "3.4" -> 0x0328 (3.40): integer part high byte, hundredths low byte.
std::optional<uint16_t> parseRevision(std::string_view text);

// The error text of a value that does not parse.
std::string bad(std::string_view key, std::string_view value);

// Stores a parsed value, or says why not: an error text or "".
template <typename T>
std::string assign(std::optional<T> parsed, T& target, std::string_view key, std::string_view value)
{
    if (!parsed) {
        return bad(key, value);
    }
    target = *parsed;
    return {};
}

} // namespace vorn::sim
