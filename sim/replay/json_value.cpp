#include "replay/json_value.h"

#include <charconv>
#include <cmath>

namespace vorn::sim {

namespace {

constexpr int kMaxDepth = 16;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> whole()
    {
        auto value = parse(0);
        skipBlanks();
        if (!value || at_ != text_.size())
            return std::nullopt;
        return value;
    }

private:
    void skipBlanks()
    {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }

    bool take(char c)
    {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool word(std::string_view w)
    {
        if (text_.substr(at_, w.size()) != w)
            return false;
        at_ += w.size();
        return true;
    }

    std::optional<JsonValue> parse(int depth)
    {
        skipBlanks();
        if (at_ >= text_.size() || depth > kMaxDepth)
            return std::nullopt;
        JsonValue value;
        const char c = text_[at_];
        if (c == '{')
            return object(depth);
        if (c == '[')
            return array(depth);
        if (c == '"') {
            auto s = string();
            if (!s)
                return std::nullopt;
            value.kind = JsonValue::Kind::String;
            value.text = std::move(*s);
            return value;
        }
        if (word("true") || word("false")) {
            value.kind = JsonValue::Kind::Boolean;
            value.number = text_[at_ - 2] == 'u' ? 1 : 0; // tr(u)e
            return value;
        }
        if (word("null"))
            return value;
        return number();
    }

    std::optional<JsonValue> number()
    {
        JsonValue value;
        value.kind = JsonValue::Kind::Number;
        const auto [end, error] = std::from_chars(text_.data() + at_, text_.data() + text_.size(), value.number);
        if (error != std::errc() || !std::isfinite(value.number))
            return std::nullopt;
        at_ = static_cast<std::size_t>(end - text_.data());
        return value;
    }

    // A string; escapes other than \" and \\ are kept as written.
    std::optional<std::string> string()
    {
        std::string s;
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return s;
            }
            if (c == '\\' && at_ + 1 < text_.size()) {
                const char next = text_[++at_];
                if (next != '"' && next != '\\')
                    s += '\\';
                s += next;
                continue;
            }
            s += c;
        }
        return std::nullopt;
    }

    std::optional<JsonValue> array(int depth)
    {
        JsonValue value;
        value.kind = JsonValue::Kind::Array;
        ++at_;
        if (take(']'))
            return value;
        do {
            auto item = parse(depth + 1);
            if (!item)
                return std::nullopt;
            value.items.push_back(std::move(*item));
        } while (take(','));
        return take(']') ? std::optional(std::move(value)) : std::nullopt;
    }

    std::optional<JsonValue> object(int depth)
    {
        JsonValue value;
        value.kind = JsonValue::Kind::Object;
        ++at_;
        if (take('}'))
            return value;
        do {
            skipBlanks();
            if (at_ >= text_.size() || text_[at_] != '"')
                return std::nullopt;
            auto key = string();
            if (!key || !take(':'))
                return std::nullopt;
            auto member = parse(depth + 1);
            if (!member)
                return std::nullopt;
            value.members.push_back({std::move(*key), std::move(*member)});
        } while (take(','));
        return take('}') ? std::optional(std::move(value)) : std::nullopt;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

const JsonValue* JsonValue::find(std::string_view key) const
{
    for (const auto& [name, value] : members)
        if (name == key)
            return &value;
    return nullptr;
}

std::optional<JsonValue> parseJson(std::string_view text)
{
    return Parser(text).whole();
}

} // namespace vorn::sim
