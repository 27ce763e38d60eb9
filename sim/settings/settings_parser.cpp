#include "settings/settings_parser.h"

#include "settings/net_settings.h"
#include "settings/sensor_keys.h"
#include "settings/setting_keys.h"
#include "settings/value_parsers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>

namespace vorn::sim {

namespace {

// "HZ:VOLTS, HZ:VOLTS..." or "none".
std::optional<std::vector<Tone>> parseTones(std::string_view text)
{
    std::vector<Tone> tones;
    if (trim(text) == "none") {
        return tones;
    }
    while (!text.empty()) {
        const auto comma = text.find(',');
        const auto item = text.substr(0, comma);
        const auto colon = item.find(':');
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        const auto hertz = parsePositive(item.substr(0, colon));
        const auto volts = parseNonNegative(item.substr(colon + 1));
        if (!hertz || !volts) {
            return std::nullopt;
        }
        tones.push_back({*hertz, *volts});
        text = comma == std::string_view::npos ? std::string_view {} : text.substr(comma + 1);
    }
    return tones;
}

// "MONTH/DAY/YEAR", each a byte.
std::optional<std::array<uint8_t, 3>> parseDate(std::string_view text)
{
    std::array<uint8_t, 3> date {};
    for (std::size_t i = 0; i < date.size(); ++i) {
        const auto slash = text.find('/');
        if ((slash == std::string_view::npos) != (i == date.size() - 1)) {
            return std::nullopt;
        }
        const auto value = parseInt<uint8_t>(text.substr(0, slash));
        if (!value) {
            return std::nullopt;
        }
        date[i] = *value;
        text = slash == std::string_view::npos ? std::string_view {} : text.substr(slash + 1);
    }
    return date;
}

std::optional<std::string> parseNotice(std::string_view text)
{
    text = trim(text);
    const bool printable = std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (!printable || text.size() > PromConfig::kNoticeLength) {
        return std::nullopt;
    }
    return std::string(text);
}

std::optional<LineCheckMode> parseLineCheck(std::string_view text)
{
    constexpr std::pair<std::string_view, LineCheckMode> kNames[] = {
        {"off", LineCheckMode::Off},     {"ok", LineCheckMode::Ok},
        {"echo", LineCheckMode::Echo},   {"one-number", LineCheckMode::OneNumber},
        {"block", LineCheckMode::Block},
    };
    for (const auto& [name, mode] : kNames) {
        if (trim(text) == name) {
            return mode;
        }
    }
    return std::nullopt;
}

using UnitKey = SettingKey<UnitConfig>;

template <typename Int, typename Field> auto integerField(Field UnitConfig::*field)
{
    return [field](UnitConfig& u, std::string_view k, std::string_view v) {
        return assign(parseInt<Int>(v), u.*field, k, v);
    };
}

const std::vector<UnitKey>& unitKeys()
{
    static const std::vector<UnitKey> keys = {
        {"own-line", "yes/no: the unit has a serial line of its own",
         [](UnitConfig& u, auto k, auto v) { return assign(parseBool(v), u.ownLine, k, v); }},
        {"revision", "software revision, e.g. 3.67, 3.62, 21.15 (3.4 is 3.40)",
         [](UnitConfig& u, auto k, auto v) { return assign(parseRevision(v), u.softwareRevision, k, v); }},
        {"crystal", "computer crystal speed in MHz", integerField<uint16_t>(&UnitConfig::crystalSpeed)},
        {"model", "model identification, up to ten characters (6DKVA, 6DKVR, PCVORN...)",
         [](UnitConfig& u, auto, auto v) {
             u.model = std::string(trim(v));
             return std::string {};
         }},
        {"unit-serial", "serial number of the unit", integerField<uint16_t>(&UnitConfig::unitSerial)},
        {"sensor-serial", "serial number of the sensor", integerField<uint16_t>(&UnitConfig::sensorSerial)},
        {"transmitter-serial", "serial number of the transmitter",
         integerField<uint16_t>(&UnitConfig::transmitterSerial)},
        {"addressing-mode", "0 normal, 1 expanded, 2 super-expanded (the master's)",
         [](UnitConfig& u, auto k, auto v) {
             const auto mode = parseInt<uint8_t>(v);
             return mode && *mode <= 2 ? assign(mode, u.addressingMode, k, v) : bad(k, v);
         }},
        {"sensor", "yes/no: a sensor is attached",
         [](UnitConfig& u, auto k, auto v) { return assign(parseBool(v), u.sensor, k, v); }},
        {"transmitter-bits", "unit status bits 0-4: 0x01 standard transmitter, 0x11 extended-range, 0 none",
         integerField<uint8_t>(&UnitConfig::transmitterBits)},
        {"error-code", "the unit's error code", integerField<uint8_t>(&UnitConfig::errorCode)},
        {"status-bits", "extra status word bits, e.g. 0x0800 host sync",
         integerField<uint16_t>(&UnitConfig::extraStatusBits)},
        {"rate", "measurement rate in Hz after a reset",
         [](UnitConfig& u, auto k, auto v) {
             const auto rate = parseDouble(v);
             return rate && *rate >= 1.0 && *rate <= 1000.0 ? assign(rate, u.measurementRate, k, v) : bad(k, v);
         }},
        {"format", "data format code after a reset (1-5, 7, 8)",
         [](UnitConfig& u, auto k, auto v) {
             const auto format = parseInt<uint8_t>(v);
             return format && *format <= 8 && *format != 6 ? assign(format, u.dataFormat, k, v) : bad(k, v);
         }},
        {"group-mode", "yes/no: group mode is on after a reset",
         [](UnitConfig& u, auto k, auto v) { return assign(parseBool(v), u.groupModeAtReset, k, v); }},
        {"button", "the button value records carry", integerField<uint16_t>(&UnitConfig::buttonValue)},
        {"prom-notice", "the maker's notice in the PROM text, up to 47 characters",
         [](UnitConfig& u, auto k, auto v) { return assign(parseNotice(v), u.prom.notice, k, v); }},
        {"prom-date", "MONTH/DAY/YEAR of the PROM, each 0-255 (default 3/15/97)",
         [](UnitConfig& u, auto k, auto v) { return assign(parseDate(v), u.prom.date, k, v); }},
        {"sample-clock", "Hz: test-mode raw samples a second = this / rate count (default 680400)",
         [](UnitConfig& u, auto k, auto v) { return assign(parsePositive(v), u.rawSampleClock, k, v); }},
        {"line-test", "dip-switch line test: off, ok, echo, one-number or block",
         [](UnitConfig& u, auto k, auto v) { return assign(parseLineCheck(v), u.lineCheck, k, v); }},
    };
    return keys;
}

} // namespace

std::string applyUnitSetting(UnitConfig& unit, std::string_view key, std::string_view value)
{
    if (auto result = applyKey<UnitConfig>(unitKeys(), unit, key, value)) {
        return *result;
    }
    if (auto result = applySensorSetting(unit.sensorModel, key, value)) {
        return *result;
    }
    return "unknown unit setting \"" + std::string(key) + "\"";
}

std::optional<std::string> applyEnvironmentSetting(MagneticEnvironment& environment, std::string_view key,
                                                   std::string_view value)
{
    if (key == "dc") {
        return assign(parseDouble(value), environment.dcVolts, key, value);
    }
    if (key == "mains") {
        return assign(parsePositive(value), environment.mainsHertz, key, value);
    }
    if (key == "hum") {
        return assign(parseNonNegative(value), environment.humVolts, key, value);
    }
    if (key == "harmonics") {
        const auto list = parseNumberList(value);
        const bool valid = list && std::all_of(list->begin(), list->end(), [](double x) { return x >= 0.0; });
        return valid ? assign(list, environment.harmonics, key, value) : bad(key, value);
    }
    if (key == "tones") {
        return assign(parseTones(value), environment.tones, key, value);
    }
    if (key == "noise") {
        return assign(parseNonNegative(value), environment.noiseVolts, key, value);
    }
    return std::nullopt;
}

std::string applySystemSetting(SimulatorConfig& config, std::string_view key, std::string_view value)
{
    if (key == "first-port") {
        const auto port = parseInt<unsigned>(value);
        return port && *port >= 1 ? assign(port, config.firstPort, key, value) : bad(key, value);
    }
    if (key == "seed") {
        return assign(parseInt<uint64_t>(value), config.seed, key, value);
    }
    if (key == "dir") {
        config.linkDirectory = std::string(trim(value));
        return {};
    }
    if (key == "restart-ms") {
        const auto ms = parseInt<unsigned>(value);
        if (!ms) {
            return bad(key, value);
        }
        config.restartSilence = std::chrono::milliseconds(*ms);
        return {};
    }
    if (auto result = applyEnvironmentSetting(config.environment, key, value)) {
        return *result;
    }
    if (key == "metal") {
        const auto n = parseNumbers(value, 4);
        if (!n) {
            return bad(key, value);
        }
        config.metal.push_back({{(*n)[0], (*n)[1], (*n)[2]}, (*n)[3]});
        return {};
    }
    return "unknown setting \"" + std::string(key) + "\"";
}

namespace {

enum class SectionKind { Top, Unit, Controller, ControllerUnit, Isa, IsaUnit };

struct Section {
    SectionKind kind = SectionKind::Top;
    unsigned address = 0;
};

// "[unit N]", "[controller]", "[controller unit N]", "[isa]" or "[isa unit N]".
std::optional<Section> parseSection(std::string_view line)
{
    if (!line.starts_with('[') || !line.ends_with(']')) {
        return std::nullopt;
    }
    const std::string_view name = trim(line.substr(1, line.size() - 2));
    constexpr std::pair<std::string_view, SectionKind> kUnitSections[] = {
        {"unit ", SectionKind::Unit},
        {"controller unit ", SectionKind::ControllerUnit},
        {"isa unit ", SectionKind::IsaUnit}};
    for (const auto& [prefix, kind] : kUnitSections) {
        if (name.starts_with(prefix)) {
            const auto address = parseInt<uint8_t>(name.substr(prefix.size()));
            if (!address || *address > 126) {
                return std::nullopt;
            }
            return Section {kind, *address};
        }
    }
    if (name == "controller") {
        return Section {SectionKind::Controller};
    }
    if (name == "isa") {
        return Section {SectionKind::Isa};
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> applyConfigText(SimulatorConfig& config, std::string_view text)
{
    std::vector<std::string> errors;
    std::vector<UnitConfig> units;
    Section section;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view {} : text.substr(end + 1);
        const auto where = "line " + std::to_string(lineNumber) + ": ";
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const auto parsed = parseSection(line);
            if (!parsed) {
                errors.push_back(where + "expected a section \"[unit N]\", \"[controller]\", \"[controller unit N]\", "
                                         "\"[isa]\" or \"[isa unit N]\" with N from 0 to 126");
                section = {};
                continue;
            }
            section = *parsed;
            if (section.kind == SectionKind::Unit) {
                units.push_back(vornsetConfig(section.address == 0 ? 1 : section.address).units.back());
                units.back().address = static_cast<uint8_t>(section.address);
            } else if (section.kind == SectionKind::Controller && !config.controller) {
                config.controller = controllerConfig();
            } else if (section.kind == SectionKind::Isa && !config.isa) {
                config.isa = isaStandAloneConfig();
            }
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            errors.push_back(where + "expected \"key = value\"");
            continue;
        }
        const auto key = trim(line.substr(0, equals));
        const auto value = trim(line.substr(equals + 1));
        std::string error;
        switch (section.kind) {
        case SectionKind::Top: error = applySystemSetting(config, key, value); break;
        case SectionKind::Unit: error = applyUnitSetting(units.back(), key, value); break;
        case SectionKind::Controller: error = applyControllerSetting(config, key, value); break;
        case SectionKind::ControllerUnit:
            error = applyControllerUnitSetting(config, section.address, key, value);
            break;
        case SectionKind::Isa: error = applyIsaSetting(config, key, value); break;
        case SectionKind::IsaUnit: error = applyIsaUnitSetting(config, section.address, key, value); break;
        }
        if (!error.empty()) {
            errors.push_back(where + error);
        }
    }
    if (!units.empty()) {
        config.units = std::move(units);
    }
    return errors;
}

std::string settingsHelp()
{
    return keysHelp<UnitConfig>(unitKeys());
}

} // namespace vorn::sim
