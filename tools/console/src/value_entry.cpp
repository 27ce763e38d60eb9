#include "vorn/console/value_entry.h"

#include <algorithm>
#include <cfloat>

#include "vorn/console/basic_number.h"
#include "vorn/console/leading_number.h"

namespace vorn::console {

std::string ValueEntry::askLine(std::string_view prompt, const std::string& shownValue)
{
    console_.printLine();
    if (style_ == EntryStyle::KeepThisValue) {
        console_.printLine(std::string(prompt) + " " + shownValue);
        console_.print("Carriage return to keep this value or enter new value   ");
    } else {
        if (!prompt.empty())
            console_.printLine(prompt);
        console_.printLine("Existing value = " + shownValue);
        console_.printLine("Carriage return to keep, or enter new value");
    }
    return console_.readLine();
}

std::string ValueEntry::askNumber(std::string_view prompt, const std::string& shownValue)
{
    for (;;) {
        std::string line = askLine(prompt, shownValue);
        if (line.empty() || withoutNumber_ == AnswerWithoutNumber::ReadsAsZero || leadingNumberLength(line) > 0)
            return line;
        console_.printLine("That is not a number: type one, or just Enter to keep the value.");
    }
}

std::int16_t ValueEntry::askInt16(std::string_view prompt, std::int16_t current)
{
    const std::string line = askNumber(prompt, basicNumberDigits(current));
    return line.empty() ? current : roundToInt16(parseLeadingNumber(line));
}

std::int32_t ValueEntry::askInt32(std::string_view prompt, std::int32_t current)
{
    const std::string line = askNumber(prompt, basicNumberDigits(current));
    return line.empty() ? current : roundToInt32(parseLeadingNumber(line));
}

float ValueEntry::askSingle(std::string_view prompt, float current)
{
    const std::string line = askNumber(prompt, basicNumberDigits(current));
    if (line.empty())
        return current;
    // Beyond the range of a single the value is held at its largest magnitude.
    return static_cast<float>(std::clamp(parseLeadingNumber(line), -double(FLT_MAX), double(FLT_MAX)));
}

namespace {

std::string choiceList(const std::vector<std::int32_t>& choices)
{
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (i > 0)
            list += i + 1 == choices.size() ? " or " : ", ";
        list += std::to_string(choices[i]);
    }
    return list;
}

} // namespace

std::int32_t ValueEntry::askChoice(const std::vector<std::string>& menuLines, std::string_view prompt,
                                   std::int32_t current, const std::vector<std::int32_t>& choices)
{
    for (;;) {
        for (const std::string& line : menuLines)
            console_.printLine(line);
        const std::string line = askLine(prompt, basicNumberDigits(current));
        if (line.empty())
            return current;
        const auto number = parseWholeNumber(line);
        if (number && std::find(choices.begin(), choices.end(), *number) != choices.end())
            return static_cast<std::int32_t>(*number);
        console_.printWrapped("Please answer " + choiceList(choices) + ".");
    }
}

std::string ValueEntry::askText(std::string_view prompt, const std::string& current)
{
    const std::string line = askLine(prompt, current);
    return line.empty() ? current : line;
}

} // namespace vorn::console
