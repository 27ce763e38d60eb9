// Just enough JSON for one line of a recording: numbers, strings, arrays,
// objects, true, false and null. Nesting is bounded so that no input can
// exhaust the stack.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::sim {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    // Declared here and defined below: a std::pair of the value inside its own
    // definition is an incomplete type that clang's checks refuse.
    struct Member;
    Kind kind = Kind::Null;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items; // an array's
    std::vector<Member> members;  // an object's

    // The member named `key` of an object, or nullptr.
    const JsonValue* find(std::string_view key) const;
};

struct JsonValue::Member {
    std::string name;
    JsonValue value;
};

// The value of a whole line (blanks around it allowed), or nullopt.
std::optional<JsonValue> parseJson(std::string_view text);

} // namespace vorn::sim
