#include "settings/net_settings.h"

#include "protocol/data_format.h"
#include "settings/sensor_keys.h"
#include "settings/setting_keys.h"

#include <algorithm>
#include <vector>

namespace vorn::sim {

namespace {

constexpr unsigned kMaxControllerUnits = 120;

std::optional<uint8_t> parseFormat(std::string_view text)
{
    const auto format = parseInt<uint8_t>(text);
    return format && protocol::isValidDataFormat(*format) ? format : std::nullopt;
}

std::optional<double> parseRate(std::string_view text)
{
    const auto rate = parseDouble(text);
    return rate && *rate >= 1.0 && *rate <= 1000.0 ? rate : std::nullopt;
}

std::optional<std::string> parseModel(std::string_view text)
{
    text = trim(text);
    const bool printable = std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    return printable && text.size() <= 10 ? std::optional<std::string>(text) : std::nullopt;
}

const std::vector<SettingKey<ControllerConfig>>& controllerKeys()
{
    using C = ControllerConfig;
    static const std::vector<SettingKey<C>> keys = {
        fieldKey("revision", "the controller's software revision (default 3.00; 1.x takes no single shots)",
                 &C::softwareRevision, parseRevision),
        fieldKey("rate", "measurement rate in Hz (default 103.3)", &C::measurementRate, parseRate),
        fieldKey("port", "loopback TCP port (default 0: any free one)", &C::port,
                 [](std::string_view v) { return parseInt<uint16_t>(v); }),
        fieldKey("report-rate", "every n-th measurement cycle streams a packet (default 1)", &C::reportRate,
                 [](std::string_view v) {
                     const auto n = parseInt<uint8_t>(v);
                     return n && *n >= 1 ? n : std::nullopt;
                 }),
    };
    return keys;
}

const std::vector<SettingKey<ControllerUnitConfig>>& controllerUnitKeys()
{
    using U = ControllerUnitConfig;
    static const std::vector<SettingKey<U>> keys = {
        fieldKey("revision", "the unit's software revision (default 3.67)", &U::softwareRevision, parseRevision),
        fieldKey("sensor", "yes/no: a sensor is attached", &U::sensor, parseBool),
        fieldKey("format", "data format code at start (0-5, 7, 8; default 8)", &U::dataFormat, parseFormat),
        fieldKey("button-word", "yes/no: records carry a button word", &U::button, parseBool),
        fieldKey("button", "the button value records carry", &U::buttonValue, parseInt<uint16_t>),
        fieldKey("type-code", "the device block's unit type code (default 1)", &U::typeCode, parseInt<uint8_t>),
    };
    return keys;
}

const std::vector<SettingKey<IsaUnitConfig>>& isaUnitKeys()
{
    using U = IsaUnitConfig;
    static const std::vector<SettingKey<U>> keys = {
        fieldKey("base", "board base address; 0: reached through the master's board", &U::base, parseInt<uint16_t>),
        fieldKey("revision", "software revision (default 3.67)", &U::softwareRevision, parseRevision),
        fieldKey("crystal", "computer crystal speed in MHz (default 20)", &U::crystalSpeed, parseInt<uint16_t>),
        fieldKey("model", "model identification, up to ten characters, e.g. PELLVORN2", &U::model, parseModel),
        fieldKey("sensor", "yes/no: a sensor is attached", &U::sensor, parseBool),
        fieldKey("transmitter-bits", "unit status bits 0-4 (0x01 standard transmitter, 0 none)", &U::transmitterBits,
                 [](std::string_view v) {
                     const auto bits = parseInt<uint8_t>(v);
                     return bits && *bits <= 0x1F ? bits : std::nullopt;
                 }),
        fieldKey("format", "data format code after a reset (1-5, 7, 8; default 4)", &U::dataFormat, parseFormat),
        fieldKey("rate", "measurement rate in Hz after a reset (default 103.3)", &U::measurementRate, parseRate),
        fieldKey("addressing-mode", "0 normal, 1 expanded (the master's)", &U::addressingMode,
                 [](std::string_view v) {
                     const auto mode = parseInt<uint8_t>(v);
                     return mode && *mode <= 2 ? mode : std::nullopt;
                 }),
        fieldKey("error-code", "the unit's error code", &U::errorCode, parseInt<uint8_t>),
        fieldKey("button", "the button value records carry", &U::buttonValue, parseInt<uint16_t>),
    };
    return keys;
}

// Unit keys of a link, then the sensor keys every unit shares.
template <typename Unit>
std::string applyUnitKey(std::span<const SettingKey<Unit>> keys, Unit& unit, std::string_view key,
                         std::string_view value)
{
    if (auto result = applyKey<Unit>(keys, unit, key, value)) {
        return *result;
    }
    if (auto result = applySensorSetting(unit.sensorModel, key, value)) {
        return *result;
    }
    return "unknown unit setting \"" + std::string(key) + "\"";
}

// Units 1..count: the ones configured stay as they are, missing ones come with defaults.
void resizeController(ControllerConfig& controller, unsigned count)
{
    const ControllerConfig defaults = controllerConfig(count);
    std::erase_if(controller.units, [&](const ControllerUnitConfig& u) { return u.address > count; });
    for (const ControllerUnitConfig& unit : defaults.units) {
        if (std::none_of(controller.units.begin(), controller.units.end(),
                         [&](const ControllerUnitConfig& u) { return u.address == unit.address; })) {
            controller.units.push_back(unit);
        }
    }
    std::sort(controller.units.begin(), controller.units.end(),
              [](const auto& a, const auto& b) { return a.address < b.address; });
}

// Board base addresses by unit address, master first: "0x300" (one stand-alone board) or
// "0x300,0x320,0" (0: the unit is reached through the master's board).
std::optional<IsaConfig> parseIsaBases(std::string_view list)
{
    std::vector<uint16_t> bases;
    while (true) {
        const auto comma = list.find(',');
        const auto base = parseInt<uint16_t>(list.substr(0, comma));
        if (!base) {
            return std::nullopt;
        }
        bases.push_back(*base);
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
    }
    if (bases.front() == 0) {
        return std::nullopt;
    }
    return bases.size() == 1 ? isaStandAloneConfig(bases.front()) : isaVornsetConfig(bases);
}

std::string noSuchUnit(std::string_view link, unsigned address)
{
    return "no " + std::string(link) + " unit " + std::to_string(address);
}

// Applies a key to the unit at `address` among `units`.
template <typename Unit>
std::string applyToUnit(std::vector<Unit>& units, std::span<const SettingKey<Unit>> keys, std::string_view link,
                        unsigned address, std::string_view key, std::string_view value)
{
    for (Unit& unit : units) {
        if (unit.address == address) {
            return applyUnitKey<Unit>(keys, unit, key, value);
        }
    }
    return noSuchUnit(link, address);
}

} // namespace

std::string applyControllerSetting(SimulatorConfig& config, std::string_view key, std::string_view value)
{
    if (key == "units") {
        const auto count = parseInt<unsigned>(value);
        if (!count || *count < 1 || *count > kMaxControllerUnits) {
            return "controller units takes 1 to 120";
        }
        if (!config.controller) {
            config.controller = controllerConfig(*count);
        }
        resizeController(*config.controller, *count);
        return {};
    }
    if (!config.controller) {
        return "controller " + std::string(key) + " needs a controller (units first)";
    }
    if (auto result = applyKey<ControllerConfig>(controllerKeys(), *config.controller, key, value)) {
        return *result;
    }
    return "unknown controller setting \"" + std::string(key) + "\"";
}

std::string applyControllerUnitSetting(SimulatorConfig& config, unsigned address, std::string_view key,
                                       std::string_view value)
{
    return config.controller ? applyToUnit<ControllerUnitConfig>(config.controller->units, controllerUnitKeys(),
                                                                 "controller", address, key, value)
                             : noSuchUnit("controller", address);
}

std::string applyIsaSetting(SimulatorConfig& config, std::string_view key, std::string_view value)
{
    if (key == "boards" || key == "pv2") {
        auto isa = parseIsaBases(key == "pv2" ? std::string(trim(value)) + ",0" : std::string(value));
        if (!isa) {
            return key == "pv2" ? "isa pv2 takes the master board's base address, e.g. 0x300"
                                : "isa boards takes base addresses such as 0x300 or 0x300,0x320,0";
        }
        config.isa = std::move(isa);
        return {};
    }
    return "unknown isa setting \"" + std::string(key) + "\"";
}

std::string applyIsaUnitSetting(SimulatorConfig& config, unsigned address, std::string_view key, std::string_view value)
{
    return config.isa ? applyToUnit<IsaUnitConfig>(config.isa->units, isaUnitKeys(), "isa", address, key, value)
                      : noSuchUnit("isa", address);
}

std::string controllerSettingsHelp()
{
    return "    units               number of units, addresses 1..N (1 to 120)\n" +
           keysHelp<ControllerConfig>(controllerKeys());
}

std::string controllerUnitSettingsHelp()
{
    return keysHelp<ControllerUnitConfig>(controllerUnitKeys());
}

std::string isaSettingsHelp()
{
    return "    boards              base addresses by unit address, master first: 0x300 (a\n"
           "                        stand-alone board, unit 0) or 0x300,0x320,0 (0: behind the master)\n"
           "    pv2                 a PV2 master board at this base, a second unit behind it\n";
}

std::string isaUnitSettingsHelp()
{
    return keysHelp<IsaUnitConfig>(isaUnitKeys());
}

} // namespace vorn::sim
