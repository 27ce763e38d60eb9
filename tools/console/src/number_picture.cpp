#include "vorn/console/number_picture.h"

#include <cmath>
#include <cstdio>

namespace vorn::console {

namespace {

struct Field {
    std::size_t begin = 0;
    std::size_t end = 0; // one past the field
    int decimals = 0;
    bool hasPoint = false;
};

Field findField(std::string_view picture)
{
    Field field;
    field.begin = picture.find_first_of("#.");
    if (field.begin == std::string_view::npos) {
        field.begin = field.end = picture.size();
        return field;
    }
    field.end = field.begin;
    while (field.end < picture.size() && (picture[field.end] == '#' || picture[field.end] == '.')) {
        if (picture[field.end] == '.') {
            if (field.hasPoint)
                break;
            field.hasPoint = true;
        } else if (field.hasPoint) {
            ++field.decimals;
        }
        ++field.end;
    }
    return field;
}

std::string numberText(double value, const Field& field)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", field.decimals, value);
    std::string text(buffer);
    if (text == "-0" || text.rfind("-0.", 0) == 0) {
        // A value that rounds to zero is shown without a sign.
        if (text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
    }
    if (field.hasPoint && field.decimals == 0)
        text += '.';
    return text;
}

} // namespace

std::string formatPicture(double value, std::string_view picture)
{
    const Field field = findField(picture);
    const std::size_t width = field.end - field.begin;
    std::string text = numberText(value, field);
    // Without room for it, the zero before the point is the first thing to go.
    if (text.size() > width) {
        if (text.rfind("0.", 0) == 0)
            text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0)
            text.erase(1, 1);
    }
    std::string shown = text.size() > width ? "%" + text : std::string(width - text.size(), ' ') + text;
    return std::string(picture.substr(0, field.begin)) + shown + std::string(picture.substr(field.end));
}

} // namespace vorn::console
