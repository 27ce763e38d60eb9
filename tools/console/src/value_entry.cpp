#include "vorn/console/value_entry.h"

#include <algorithm>
#include <cfloat>

#include "vorn/console/basic_number.h"
#include "vorn/console/leading_number.h"

namespace vorn::console {

std::string ValueEntry::ask(std::string_view prompt, const std::string& shownValue) {
    console_.printLine();
    if (style_ == EntryStyle::KeepThisValue) {
        console_.printLine(std::string(prompt) + " " + shownValue);
        console_.print("Carriage return to keep this value or enter new value   ");
    } else {
        if (!prompt.empty()) console_.printLine(prompt);
        console_.printLine("Existing value = " + shownValue);
        console_.printLine("Carriage return to keep, or enter new value");
    }
    return console_.readLine();
}

std::int16_t ValueEntry::askInt16(std::string_view prompt, std::int16_t current) {
    const std::string line = ask(prompt, basicNumberDigits(current));
    return line.empty() ? current : roundToInt16(parseLeadingNumber(line));
}

std::int32_t ValueEntry::askInt32(std::string_view prompt, std::int32_t current) {
    const std::string line = ask(prompt, basicNumberDigits(current));
    return line.empty() ? current : roundToInt32(parseLeadingNumber(line));
}

float ValueEntry::askSingle(std::string_view prompt, float current) {
    const std::string line = ask(prompt, basicNumberDigits(current));
    if (line.empty()) return current;
    // Beyond the range of a single the value is held at its largest magnitude.
    return static_cast<float>(std::clamp(parseLeadingNumber(line), -double(FLT_MAX), double(FLT_MAX)));
}

std::string ValueEntry::askText(std::string_view prompt, const std::string& current) {
    const std::string line = ask(prompt, current);
    return line.empty() ? current : line;
}

}  // namespace vorn::console
