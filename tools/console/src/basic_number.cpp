#include "vorn/console/basic_number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vorn::console {

namespace {

constexpr int kSignificant = 7;
constexpr int kLowestPlainExponent = -5;
constexpr int kHighestPlainExponent = 6;

std::string stripTrailingZeros(std::string digits)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}

std::string plain(const std::string& digits, int exponent)
{
    if (exponent < 0)
        return "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto integerPlaces = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= integerPlaces)
        return digits + std::string(integerPlaces - digits.size(), '0');
    return digits.substr(0, integerPlaces) + "." + digits.substr(integerPlaces);
}

std::string scaled(const std::string& digits, int exponent)
{
    std::string text = digits.substr(0, 1);
    if (digits.size() > 1)
        text += "." + digits.substr(1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return text + tail;
}

enum class Form { ScaledWhenFar, AlwaysPlain };

std::string digitsOf(double value, Form form)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
    if (value == 0.0)
        return "0";
    // "%.6e" rounds to 7 significant digits and tells the decimal exponent.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificant - 1, std::fabs(value));
    const std::string text(buffer);
    const auto e = text.find('e');
    const std::string digits = stripTrailingZeros(text.substr(0, 1) + text.substr(2, e - 2));
    const int exponent = std::atoi(text.c_str() + e + 1);
    const bool isPlain =
        form == Form::AlwaysPlain || (exponent >= kLowestPlainExponent && exponent <= kHighestPlainExponent);
    const std::string magnitude = isPlain ? plain(digits, exponent) : scaled(digits, exponent);
    return value < 0 ? "-" + magnitude : magnitude;
}

std::string withSignPlace(const std::string& digits)
{
    return (digits.front() == '-' ? "" : " ") + digits + " ";
}

} // namespace

std::string basicNumberDigits(double value)
{
    return digitsOf(value, Form::ScaledWhenFar);
}

std::string basicNumber(double value)
{
    return withSignPlace(basicNumberDigits(value));
}

std::string plainNumber(double value)
{
    return withSignPlace(digitsOf(value, Form::AlwaysPlain));
}

} // namespace vorn::console
