#pragma once
// The one way both tools ask for a value: show the prompt and the current value, read a whole
// line, keep the value on an empty line, otherwise read the leading number (or take the text).
// Each tool words its keep-or-enter line its own way, so the wording is a style chosen once.
#include <cstdint>
#include <string>
#include <string_view>

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

class ValueEntry {
public:
    ValueEntry(Console& console, EntryStyle style) : console_(console), style_(style) {}

    std::int16_t askInt16(std::string_view prompt, std::int16_t current);
    std::int32_t askInt32(std::string_view prompt, std::int32_t current);
    float askSingle(std::string_view prompt, float current);
    std::string askText(std::string_view prompt, const std::string& current);

    Console& console() { return console_; }

private:
    // Shows the question and returns the line typed (empty: keep the current value).
    std::string ask(std::string_view prompt, const std::string& shownValue);

    Console& console_;
    EntryStyle style_;
};

}  // namespace vorn::console
