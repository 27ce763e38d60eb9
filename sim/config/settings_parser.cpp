#include "config/settings_parser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>

namespace vorn::sim {

namespace {

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

template <typename Int>
std::optional<Int> parseInt(std::string_view text)
{
    text = trim(text);
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDouble(std::string_view text)
{
    const std::string copy(trim(text));
    if (copy.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseBool(std::string_view text)
{
    text = trim(text);
    if (text == "yes" || text == "true" || text == "1" || text == "on") {
        return true;
    }
    if (text == "no" || text == "false" || text == "0" || text == "off") {
        return false;
    }
    return std::nullopt;
}

// Comma-separated numbers, any count; "none" is the empty list.
std::optional<std::vector<double>> parseNumberList(std::string_view text)
{
    if (trim(text) == "none") {
        return std::vector<double>{};
    }
    std::vector<double> values;
    while (true) {
        const auto comma = text.find(',');
        const auto value = parseDouble(text.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        if (comma == std::string_view::npos) {
            return values;
        }
        text.remove_prefix(comma + 1);
    }
}

// Comma-separated numbers, exactly `count` of them.
std::optional<std::vector<double>> parseNumbers(std::string_view text, std::size_t count)
{
    auto values = parseNumberList(text);
    if (!values || values->size() != count) {
        return std::nullopt;
    }
    return values;
}

std::optional<double> parseNonNegative(std::string_view text)
{
    const auto value = parseDouble(text);
    return value && *value >= 0.0 ? value : std::nullopt;
}

std::optional<double> parsePositive(std::string_view text)
{
    const auto value = parseDouble(text);
    return value && *value > 0.0 ? value : std::nullopt;
}

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
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return tones;
}

// "MONTH/DAY/YEAR", each a byte.
std::optional<std::array<uint8_t, 3>> parseDate(std::string_view text)
{
    std::array<uint8_t, 3> date{};
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
        text = slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);
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

std::optional<LineTestMode> parseLineTest(std::string_view text)
{
    constexpr std::pair<std::string_view, LineTestMode> kNames[] = {
        {"off", LineTestMode::Off},          {"ok", LineTestMode::Ok},       {"echo", LineTestMode::Echo},
        {"one-number", LineTestMode::OneNumber}, {"block", LineTestMode::Block},
    };
    for (const auto& [name, mode] : kNames) {
        if (trim(text) == name) {
            return mode;
        }
    }
    return std::nullopt;
}

template <typename T>
std::string assign(std::optional<T> parsed, T& target, std::string_view key, std::string_view value)
{
    if (!parsed) {
        return "bad value for " + std::string(key) + ": \"" + std::string(value) + "\"";
    }
    target = *parsed;
    return {};
}

std::string bad(std::string_view key, std::string_view value)
{
    return "bad value for " + std::string(key) + ": \"" + std::string(value) + "\"";
}

struct UnitKey {
    std::string_view key;
    std::string_view help;
    std::function<std::string(UnitConfig&, std::string_view, std::string_view)> apply;
};

template <typename Int, typename Field>
auto integerField(Field UnitConfig::*field)
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
        {"revision", "software revision, e.g. 3.67, 3.62, 21.15",
         [](UnitConfig& u, auto k, auto v) { return assign(parseRevision(v), u.softwareRevision, k, v); }},
        {"crystal", "computer crystal speed in MHz", integerField<uint16_t>(&UnitConfig::crystalSpeed)},
        {"model", "model identification, up to ten characters (6DKVA, 6DKVR, PCVORN...)",
         [](UnitConfig& u, auto, auto v) {
             u.model = std::string(trim(v));
             return std::string{};
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
        {"status-bits", "extra status word bits, e.g. 0x0800 host sync", integerField<uint16_t>(&UnitConfig::extraStatusBits)},
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
        {"trajectory", "still, circle, figure-eight or random-walk",
         [](UnitConfig& u, auto k, auto v) {
             return assign(trajectoryKindOfName(trim(v)), u.sensorModel.trajectory.kind, k, v);
         }},
        {"center", "x,y,z in inches: where the sensor is or circles around",
         [](UnitConfig& u, auto k, auto v) {
             const auto n = parseNumbers(v, 3);
             if (!n) {
                 return bad(k, v);
             }
             u.sensorModel.trajectory.center = {(*n)[0], (*n)[1], (*n)[2]};
             return std::string{};
         }},
        {"angles", "azimuth,elevation,roll in degrees: the sensor's base orientation",
         [](UnitConfig& u, auto k, auto v) {
             const auto n = parseNumbers(v, 3);
             if (!n) {
                 return bad(k, v);
             }
             u.sensorModel.trajectory.angles = {(*n)[0], (*n)[1], (*n)[2]};
             return std::string{};
         }},
        {"radius", "inches: circle radius, figure-eight half width, random-walk bound",
         [](UnitConfig& u, auto k, auto v) { return assign(parseDouble(v), u.sensorModel.trajectory.radius, k, v); }},
        {"period", "seconds per lap",
         [](UnitConfig& u, auto k, auto v) {
             return assign(parseDouble(v), u.sensorModel.trajectory.periodSeconds, k, v);
         }},
        {"position-noise", "standard deviation of position noise in inches",
         [](UnitConfig& u, auto k, auto v) { return assign(parseDouble(v), u.sensorModel.positionNoiseInches, k, v); }},
        {"angle-noise", "standard deviation of angle noise in degrees",
         [](UnitConfig& u, auto k, auto v) { return assign(parseDouble(v), u.sensorModel.angleNoiseDegrees, k, v); }},
        {"prom-notice", "the maker's notice in the PROM text, up to 47 characters",
         [](UnitConfig& u, auto k, auto v) { return assign(parseNotice(v), u.prom.notice, k, v); }},
        {"prom-date", "MONTH/DAY/YEAR of the PROM, each 0-255 (default 3/15/97)",
         [](UnitConfig& u, auto k, auto v) { return assign(parseDate(v), u.prom.date, k, v); }},
        {"sample-clock", "Hz: test-mode raw samples a second = this / rate count (default 680400)",
         [](UnitConfig& u, auto k, auto v) { return assign(parsePositive(v), u.rawSampleClock, k, v); }},
        {"line-test", "dip-switch line test: off, ok, echo, one-number or block",
         [](UnitConfig& u, auto k, auto v) { return assign(parseLineTest(v), u.lineTest, k, v); }},
    };
    return keys;
}

} // namespace

std::optional<uint16_t> parseRevision(std::string_view text)
{
    text = trim(text);
    const auto dot = text.find('.');
    const auto whole = parseInt<uint8_t>(text.substr(0, dot));
    const auto fraction = dot == std::string_view::npos ? std::optional<uint8_t>(0) : parseInt<uint8_t>(text.substr(dot + 1));
    if (!whole || !fraction) {
        return std::nullopt;
    }
    return static_cast<uint16_t>((*whole << 8) | *fraction);
}

std::string applyUnitSetting(UnitConfig& unit, std::string_view key, std::string_view value)
{
    for (const auto& entry : unitKeys()) {
        if (entry.key == key) {
            return entry.apply(unit, key, value);
        }
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

std::vector<std::string> applyConfigText(SimulatorConfig& config, std::string_view text)
{
    std::vector<std::string> errors;
    std::vector<UnitConfig> units;
    UnitConfig* unit = nullptr;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const auto where = "line " + std::to_string(lineNumber) + ": ";
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const auto address = line.starts_with("[unit ") && line.back() == ']'
                                     ? parseInt<uint8_t>(line.substr(6, line.size() - 7))
                                     : std::nullopt;
            if (!address || *address > 126) {
                errors.push_back(where + "expected a section \"[unit N]\" with N from 0 to 126");
                unit = nullptr;
                continue;
            }
            units.push_back(vornsetConfig(*address == 0 ? 1 : *address).units.back());
            units.back().address = *address;
            unit = &units.back();
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            errors.push_back(where + "expected \"key = value\"");
            continue;
        }
        const auto key = trim(line.substr(0, equals));
        const auto value = trim(line.substr(equals + 1));
        const std::string error = unit ? applyUnitSetting(*unit, key, value) : applySystemSetting(config, key, value);
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
    std::string text;
    for (const auto& entry : unitKeys()) {
        std::string key(entry.key);
        key.resize(20, ' ');
        text += "    " + key + std::string(entry.help) + "\n";
    }
    return text;
}

} // namespace vorn::sim
