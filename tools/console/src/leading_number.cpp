#include "vorn/console/leading_number.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace vorn::console {

namespace {

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::size_t hexDigitCount(std::string_view digits)
{
    std::size_t count = 0;
    while (count < digits.size() && count < 8 && std::isxdigit(static_cast<unsigned char>(digits[count])))
        ++count;
    return count;
}

double parseHex(std::string_view digits)
{
    std::uint32_t value = 0;
    const std::size_t count = hexDigitCount(digits);
    for (std::size_t i = 0; i < count; ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(digits[i])));
        value = value * 16 + static_cast<std::uint32_t>(isDigit(c) ? c - '0' : c - 'a' + 10);
    }
    if (count <= 4)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(value);
}

// Length of the decimal number at the start of `text` (0 when there is none).
std::size_t decimalLength(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// The value of a decimal number as decimalLength() delimits it ("D" is an exponent too).
double decimalValue(std::string_view number)
{
    std::string digits(number);
    for (char& c : digits)
        if (c == 'D' || c == 'd')
            c = 'E';
    return std::strtod(digits.c_str(), nullptr);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool startsHex(std::string_view text)
{
    return text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h');
}

std::string_view skipBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

} // namespace

std::size_t leadingNumberLength(std::string_view text)
{
    const std::string_view rest = skipBlanks(text);
    const std::size_t blanks = text.size() - rest.size();
    if (startsHex(rest)) {
        const std::size_t digits = hexDigitCount(rest.substr(2));
        return digits == 0 ? 0 : blanks + 2 + digits;
    }
    const std::size_t length = decimalLength(rest);
    return length == 0 ? 0 : blanks + length;
}

std::optional<double> parseWholeNumber(std::string_view text)
{
    const std::size_t length = leadingNumberLength(text);
    if (length == 0)
        return std::nullopt;
    for (char c : text.substr(length))
        if (!isBlank(c))
            return std::nullopt;
    // parseLeadingNumber reads a number too large for a double as 0; here it is no number at all.
    const std::string_view number = skipBlanks(text.substr(0, length));
    if (startsHex(number))
        return parseHex(number.substr(2));
    const double value = decimalValue(number);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

double parseLeadingNumber(std::string_view text)
{
    text = skipBlanks(text);
    if (startsHex(text))
        return parseHex(text.substr(2));
    const std::size_t length = decimalLength(text);
    if (length == 0)
        return 0.0;
    const double value = decimalValue(text.substr(0, length));
    return std::isfinite(value) ? value : 0.0;
}

std::int32_t roundToInt32(double value)
{
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(rounded);
}

std::int16_t roundToInt16(double value)
{
    const double rounded = std::nearbyint(value);
    const double limited = std::fmod(rounded, 65536.0); // the low 16 bits survive, whatever the size
    const auto low = static_cast<std::int64_t>(limited);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low & 0xFFFF));
}

} // namespace vorn::console
