// A table of "key = value" settings of one kind of configuration (a unit, a sensor, a
// controller...): each key with its help text and how it applies a value.
#pragma once

#include "settings/value_parsers.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vorn::sim {

template <typename Config> struct SettingKey {
    std::string_view key;
    std::string_view help;
    std::function<std::string(Config&, std::string_view key, std::string_view value)> apply;
};

// Applies `key` from `keys`: an error text or "" when it is one, nullopt when it is not.
template <typename Config>
std::optional<std::string> applyKey(std::span<const SettingKey<Config>> keys, Config& config, std::string_view key,
                                    std::string_view value)
{
    for (const auto& entry : keys) {
        if (entry.key == key) {
            return entry.apply(config, key, value);
        }
    }
    return std::nullopt;
}

// A key that stores what `parse` makes of the value into `field`.
template <typename Config, typename Field, typename Parse>
SettingKey<Config> fieldKey(std::string_view key, std::string_view help, Field Config::*field, Parse parse)
{
    return {key, help, [field, parse](Config& c, std::string_view k, std::string_view v) {
                return assign(std::optional<Field>(parse(v)), c.*field, k, v);
            }};
}

// One help line per key, indented under a heading of --help.
template <typename Config> std::string keysHelp(std::span<const SettingKey<Config>> keys)
{
    std::string text;
    for (const auto& entry : keys) {
        std::string key(entry.key);
        key.resize(20, ' ');
        text += "    " + key + std::string(entry.help) + "\n";
    }
    return text;
}

} // namespace vorn::sim
