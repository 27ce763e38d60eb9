// Just enough JSON for one line of a recording: numbers, strings, arrays,
// objects, true, false and null. Nesting is bounded so that no input can
// exhaust the stack.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorn::sim {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;                           // an array's
    std::vector<std::pair<std::string, JsonValue>> members; // an object's

    // The member named `key` of an object, or nullptr.
    const JsonValue* find(std::string_view key) const;
};

// The value of a whole line (blanks around it allowed), or nullopt.
std::optional<JsonValue> parseJson(std::string_view text);

} // namespace vorn::sim
