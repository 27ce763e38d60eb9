#pragma once
// The one way both tools ask for a value: show the prompt and the current value, read a whole
// line, keep the value on an empty line, otherwise read the leading number (or take the text).
// Each tool words its keep-or-enter line its own way, so the wording is a style chosen once.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/console/console.h"

namespace vorn::console {

enum class EntryStyle {
    // An empty line, "<prompt> <value>", then "Carriage return to keep this value or enter new
    // value   " with the answer typed on the same line.
    KeepThisValue,
    // An empty line, the prompt, "Existing value = <value>", then "Carriage return to keep, or
    // enter new value" with the answer typed on the next line.
    ExistingValue,
};

// What a number question does with an answer that does not start with a number ("abc").
enum class AnswerWithoutNumber {
    ReadsAsZero, // the leading-number reading gives 0
    AskAgain,    // a short hint, then the question again
};

class ValueEntry {
public:
    ValueEntry(Console& console, EntryStyle style, AnswerWithoutNumber withoutNumber = AnswerWithoutNumber::ReadsAsZero)
        : console_(console), style_(style), withoutNumber_(withoutNumber)
    {
    }

    std::int16_t askInt16(std::string_view prompt, std::int16_t current);
    std::int32_t askInt32(std::string_view prompt, std::int32_t current);
    float askSingle(std::string_view prompt, float current);
    std::string askText(std::string_view prompt, const std::string& current);
    // A menu answer: exactly one of `choices` ("1.7" and "5x" are not), or an empty line for the
    // current one. Anything else is refused with a message naming the choices, and the menu lines
    // and the question are shown again.
    std::int32_t askChoice(const std::vector<std::string>& menuLines, std::string_view prompt, std::int32_t current,
                           const std::vector<std::int32_t>& choices);
    // Shows the question and returns the line typed as it is (empty: keep the current value).
    std::string askLine(std::string_view prompt, const std::string& shownValue);

    Console& console() { return console_; }

private:
    // The line typed: empty, or one that starts with a number unless such answers read as 0.
    std::string askNumber(std::string_view prompt, const std::string& shownValue);

    Console& console_;
    EntryStyle style_;
    AnswerWithoutNumber withoutNumber_;
};

} // namespace vorn::console
