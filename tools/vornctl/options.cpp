#include "options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <string_view>

namespace vornctl {

namespace {

struct NamedCode {
    std::string_view name;
    uint8_t code;
};

constexpr std::array<NamedCode, 8> kDataFormats {{
    {"none", 0},
    {"position", 1},
    {"angles", 2},
    {"matrix", 3},
    {"position-angles", 4},
    {"position-matrix", 5},
    {"quaternion", 7},
    {"position-quaternion", 8},
}};

constexpr std::array<NamedCode, 6> kHemispheres {{
    {"front", 0},
    {"back", 1},
    {"top", 2},
    {"bottom", 3},
    {"left", 4},
    {"right", 5},
}};

constexpr std::array<NamedCode, 9> kCommands {{
    {"help", static_cast<uint8_t>(Command::Help)},
    {"version", static_cast<uint8_t>(Command::Version)},
    {"info", static_cast<uint8_t>(Command::Info)},
    {"set", static_cast<uint8_t>(Command::Set)},
    {"reading", static_cast<uint8_t>(Command::Reading)},
    {"frame", static_cast<uint8_t>(Command::Frame)},
    {"stream", static_cast<uint8_t>(Command::Stream)},
    {"demo", static_cast<uint8_t>(Command::Demo)},
    {"record", static_cast<uint8_t>(Command::Record)},
}};

template <std::size_t N> std::optional<uint8_t> lookup(const std::array<NamedCode, N>& table, std::string_view name)
{
    for (const auto& entry : table)
        if (entry.name == name)
            return entry.code;
    return std::nullopt;
}

template <std::size_t N> const char* nameOf(const std::array<NamedCode, N>& table, uint8_t code)
{
    for (const auto& entry : table)
        if (entry.code == code)
            return entry.name.data();
    return "unknown";
}

template <std::size_t N> std::string namesOf(const std::array<NamedCode, N>& table)
{
    std::string names;
    for (const auto& entry : table)
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

// Whole-string unsigned integer within [low, high].
std::optional<uint64_t> parseUnsigned(std::string_view text, uint64_t low, uint64_t high)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<double> parsePositive(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> splitList(std::string_view text)
{
    std::vector<std::string_view> items;
    while (true) {
        const auto comma = text.find(',');
        items.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return items;
        text.remove_prefix(comma + 1);
    }
}

// COM port numbers by unit address; an entry may instead be a device path
// (/dev/ttyUSB0), which gets a COM number that no numbered entry uses.
bool parsePorts(std::string_view text, Options& o)
{
    const auto items = splitList(text);
    std::vector<uint16_t> ports;
    for (const auto item : items) {
        const auto port = item.starts_with('/') ? std::optional<uint64_t> {0} : parseUnsigned(item, 0, 65535);
        if (!port)
            return false;
        ports.push_back(static_cast<uint16_t>(*port));
    }
    std::vector<Options::PortPath> paths;
    uint16_t next = 1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].starts_with('/'))
            continue;
        while (std::find(ports.begin(), ports.end(), next) != ports.end())
            ++next;
        ports[i] = next;
        paths.push_back({next, std::string(items[i])});
    }
    if (ports.empty() || ports.front() == 0 || ports.size() > 126)
        return false;
    o.ports = std::move(ports);
    o.portPaths = std::move(paths);
    return true;
}

// A base address: 0x300 or 768.
std::optional<uint16_t> parseBase(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFF)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

std::optional<std::vector<uint16_t>> parseBases(std::string_view text)
{
    std::vector<uint16_t> bases;
    for (const auto item : splitList(text)) {
        const auto base = parseBase(item);
        if (!base)
            return std::nullopt;
        bases.push_back(*base);
    }
    if (bases.empty() || bases.front() == 0 || bases.size() > 126)
        return std::nullopt;
    return bases;
}

// HOST:PORT of a networked controller.
bool parseServer(std::string_view text, Options& o)
{
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    uint64_t port = 0;
    const auto digits = text.substr(colon + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535)
        return false;
    o.server = std::string(text.substr(0, colon));
    o.serverPort = static_cast<uint16_t>(port);
    return true;
}

// Filters to switch on: "none" or a comma list of dc, wide, narrow.
std::optional<uint8_t> parseFilters(std::string_view text)
{
    if (text == "none")
        return 0;
    uint8_t bits = 0;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const auto word = text.substr(0, comma);
        if (word == "dc")
            bits |= 1;
        else if (word == "wide")
            bits |= 2;
        else if (word == "narrow")
            bits |= 4;
        else
            return std::nullopt;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return bits;
}

using Setter = std::function<std::string(Options&, std::string_view)>;

struct OptionSpec {
    std::string_view longName;
    char shortName;
    bool takesValue;
    Setter set; // returns an error text, empty on success
};

std::string invalid(std::string_view option, std::string_view value, std::string_view expected)
{
    return "invalid value '" + std::string(value) + "' for --" + std::string(option) + ": expected " +
           std::string(expected);
}

// A whole number within [low, high] stored into one field of Options.
template <typename Field>
Setter numberInto(Field Options::*field, std::string_view name, uint64_t low, uint64_t high, std::string_view expected)
{
    return [=](Options& o, std::string_view v) -> std::string {
        const auto n = parseUnsigned(v, low, high);
        if (!n)
            return invalid(name, v, expected);
        o.*field = static_cast<Field>(*n);
        return {};
    };
}

const std::vector<OptionSpec>& optionTable()
{
    static const std::vector<OptionSpec> table {
        {"port", 'p', true,
         [](Options& o, std::string_view v) -> std::string {
             if (!parsePorts(v, o))
                 return invalid("port", v,
                                "COM port numbers or device paths by unit address, e.g. 1, 1,0,2 or /dev/ttyUSB0 "
                                "(the first not 0)");
             o.connection = Connection::Rs232;
             return {};
         }},
        {"tcpip", 't', true,
         [](Options& o, std::string_view v) -> std::string {
             if (!parseServer(v, o))
                 return invalid("tcpip", v, "the controller's HOST:PORT, e.g. 192.168.0.20:4000");
             o.connection = Connection::Tcpip;
             return {};
         }},
        {"isa", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             auto bases = parseBases(v);
             if (!bases)
                 return invalid("isa", v, "board base addresses by unit address, e.g. 0x300 or 0x300,0x320,0");
             o.bases = *bases;
             o.connection = Connection::Isa;
             return {};
         }},
        {"pv2", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             auto base = parseBase(v);
             if (!base || *base == 0)
                 return invalid("pv2", v, "the master board's base address, e.g. 0x300");
             o.bases = {*base};
             o.connection = Connection::Pv2;
             return {};
         }},
        {"units", 'n', true, numberInto(&Options::units, "units", 1, 126, "a number of units from 1 to 126")},
        {"stand-alone", 's', false,
         [](Options& o, std::string_view) -> std::string {
             o.standAlone = true;
             return {};
         }},
        {"baud", 'b', true, numberInto(&Options::baud, "baud", 50, 4000000, "a baud rate such as 9600 or 115200")},
        {"read-timeout", 0, true,
         numberInto(&Options::readTimeoutMs, "read-timeout", 1, 600000, "milliseconds from 1 to 600000")},
        {"write-timeout", 0, true,
         numberInto(&Options::writeTimeoutMs, "write-timeout", 1, 600000, "milliseconds from 1 to 600000")},
        {"group", 'g', true, numberInto(&Options::group, "group", 0, 256, "a group identifier from 0 to 256")},
        {"group-mode", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             if (v == "auto")
                 o.groupMode = 0;
             else if (v == "off")
                 o.groupMode = 1;
             else if (v == "on")
                 o.groupMode = 2;
             else
                 return invalid("group-mode", v, "auto, on or off");
             return {};
         }},
        {"unit", 'u', true,
         [](Options& o, std::string_view v) -> std::string {
             auto n = parseUnsigned(v, 0, 126);
             if (!n)
                 return invalid("unit", v, "a unit address from 0 to 126");
             o.unit = static_cast<int>(*n);
             return {};
         }},
        {"count", 'c', true,
         [](Options& o, std::string_view v) -> std::string {
             auto n = parseUnsigned(v, 1, std::numeric_limits<uint64_t>::max());
             if (!n)
                 return invalid("count", v, "a positive number of frames");
             o.count = *n;
             return {};
         }},
        {"duration", 'd', true,
         [](Options& o, std::string_view v) -> std::string {
             auto s = parsePositive(v);
             if (!s)
                 return invalid("duration", v, "a positive number of seconds");
             o.durationS = *s;
             return {};
         }},
        {"output", 'o', true,
         [](Options& o, std::string_view v) -> std::string {
             if (v == "csv")
                 o.output = OutputFormat::Csv;
             else if (v == "json")
                 o.output = OutputFormat::Json;
             else if (v == "table")
                 o.output = OutputFormat::Table;
             else
                 return invalid("output", v, "csv, json or table");
             return {};
         }},
        {"quiet", 'q', false,
         [](Options& o, std::string_view) -> std::string {
             o.quiet = true;
             return {};
         }},
        {"show-errors", 0, false,
         [](Options& o, std::string_view) -> std::string {
             o.showErrors = true;
             return {};
         }},
        {"ride-out", 0, false,
         [](Options& o, std::string_view) -> std::string {
             o.rideOut = true;
             return {};
         }},
        {"host-time", 0, false,
         [](Options& o, std::string_view) -> std::string {
             o.hostTime = true;
             return {};
         }},
        {"format", 'f', true,
         [](Options& o, std::string_view v) -> std::string {
             auto code = lookup(kDataFormats, v);
             if (!code)
                 return invalid("format", v, namesOf(kDataFormats));
             o.settings.dataFormat = *code;
             return {};
         }},
        {"rate", 'r', true,
         [](Options& o, std::string_view v) -> std::string {
             auto hz = parsePositive(v);
             // The unit holds rate x 256 in a 16-bit word.
             if (!hz || *hz >= 256.0)
                 return invalid("rate", v, "a measurement rate in Hz above 0 and below 256");
             o.settings.measurementRate = *hz;
             return {};
         }},
        {"hemisphere", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             auto code = lookup(kHemispheres, v);
             if (!code)
                 return invalid("hemisphere", v, namesOf(kHemispheres));
             o.settings.hemisphere = *code;
             return {};
         }},
        {"filters", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             auto bits = parseFilters(v);
             if (!bits)
                 return invalid("filters", v, "none, or a comma list of dc, wide, narrow");
             o.settings.filters = *bits;
             return {};
         }},
        {"scaling", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             if (v != "36" && v != "72")
                 return invalid("scaling", v, "36 or 72 (inches full scale)");
             o.settings.scaling = v == "36" ? 36 : 72;
             return {};
         }},
        {"report-rate", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             if (v != "1" && v != "2" && v != "8" && v != "32")
                 return invalid("report-rate", v, "1, 2, 8 or 32");
             o.settings.reportRate = static_cast<uint8_t>(*parseUnsigned(v, 1, 32));
             return {};
         }},
        {"button", 0, true,
         [](Options& o, std::string_view v) -> std::string {
             if (v != "on" && v != "off")
                 return invalid("button", v, "on or off");
             o.settings.button = v == "on";
             return {};
         }},
    };
    return table;
}

const OptionSpec* findOption(std::string_view arg)
{
    for (const auto& option : optionTable()) {
        if (arg.size() > 2 && arg.substr(0, 2) == "--" && arg.substr(2) == option.longName)
            return &option;
        if (arg.size() == 2 && arg[0] == '-' && option.shortName != 0 && arg[1] == option.shortName)
            return &option;
    }
    return nullptr;
}

// Options that pick the link: only one may be given.
constexpr std::array<std::string_view, 4> kLinkOptions {"port", "tcpip", "isa", "pv2"};

std::string linkConflict(const Options& o)
{
    std::string chosen;
    for (const auto name : kLinkOptions) {
        if (!o.gave(name))
            continue;
        if (!chosen.empty())
            return "--" + chosen + " and --" + std::string(name) + " each choose the link; give one of them";
        chosen = name;
    }
    return {};
}

// Options that mean something on some links only.
std::string linkMismatch(const Options& o)
{
    const bool rs232 = o.connection == Connection::Rs232;
    for (const auto name : {"baud", "group-mode"})
        if (o.gave(name) && !rs232)
            return "--" + std::string(name) + " applies to serial lines (--port) only";
    if (o.connection == Connection::Tcpip)
        for (const auto name : {"read-timeout", "write-timeout"})
            if (o.gave(name))
                return "--" + std::string(name) +
                       " does not apply to a networked controller (see VORN_TCPIP_TIMEOUT_MS)";
    if (o.gave("units") && o.connection == Connection::Pv2)
        return "--units does not apply to --pv2: a PV2 master board always has 2 units";
    if (o.standAlone && (o.connection == Connection::Tcpip || o.connection == Connection::Pv2))
        return "--stand-alone goes with serial lines and ISA boards only";
    return {};
}

bool takesData(Command command)
{
    return command == Command::Reading || command == Command::Frame || command == Command::Stream ||
           command == Command::Demo || command == Command::Record;
}

// Options that mean something for some commands only.
std::string commandMismatch(const Options& o)
{
    const bool printsConfiguration = o.command == Command::Info || o.command == Command::Set;
    for (const auto name : {"count", "host-time"})
        if (o.gave(name) && !takesData(o.command))
            return "--" + std::string(name) + " applies to reading, frame, stream, record and demo only";
    const bool streams = o.command == Command::Stream || o.command == Command::Record;
    if (o.durationS && !streams && o.command != Command::Demo)
        return "--duration applies to stream, record and demo only (reading and frame take --count)";
    if (o.rideOut && o.command != Command::Record)
        return "--ride-out applies to record only";
    if (o.command == Command::Record && o.gave("host-time"))
        return "record always writes the host's wall-clock time (host_unix_s): --host-time is for stream";
    if (o.command == Command::Record && o.output == OutputFormat::Table)
        return "a record file is csv or json, not a table";
    if (printsConfiguration && o.gave("output") && o.output != OutputFormat::Json)
        return "info and set print text, or JSON with --output json";
    if (streams && o.connection == Connection::Isa && !o.standAlone)
        return "the ISA boards of a vornset cannot stream, only a stand-alone board (--isa BASE -s) or a PV2 "
               "master (--pv2 BASE) can; 'vornctl frame' and 'vornctl reading' take their data";
    return {};
}

std::string checkConsistency(const Options& o)
{
    if (o.count && o.durationS)
        return "--count and --duration exclude each other";
    if (auto error = linkConflict(o); !error.empty())
        return error;
    if (auto error = linkMismatch(o); !error.empty())
        return error;
    if (auto error = commandMismatch(o); !error.empty())
        return error;
    const bool rs232 = o.connection == Connection::Rs232;
    if (o.standAlone && rs232 && o.ports.size() > 1)
        return "a stand-alone unit has exactly one port";
    if (o.standAlone && o.connection == Connection::Isa && o.bases.size() > 1)
        return "a stand-alone unit has exactly one board";
    if (!o.standAlone && rs232 && o.units > 0 && static_cast<int>(o.ports.size()) > o.units)
        return "more ports than units were given";
    if (!o.standAlone && o.connection == Connection::Isa && o.units > 0 && static_cast<int>(o.bases.size()) > o.units)
        return "more boards than units were given";
    if (o.unit && !o.standAlone && o.unitCount() > 0 && (*o.unit < 1 || *o.unit > o.unitCount()))
        return "--unit must name a unit of the group (1.." + std::to_string(o.unitCount()) + ")";
    return {};
}

} // namespace

const char* dataFormatName(uint8_t code)
{
    return nameOf(kDataFormats, code);
}

const char* hemisphereName(uint8_t code)
{
    return nameOf(kHemispheres, code);
}

OptionStep parseOption(const std::vector<std::string>& args, std::size_t& i, Options& options)
{
    std::string_view arg = args[i];
    std::string_view inlineValue;
    bool hasInline = false;
    if (const auto eq = arg.find('='); arg.substr(0, 2) == "--" && eq != std::string_view::npos) {
        inlineValue = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
        hasInline = true;
    }
    const OptionSpec* option = findOption(arg);
    if (option == nullptr)
        return {false, "unknown option '" + std::string(arg) + "'"};
    options.given.emplace_back(option->longName);
    std::string_view value = inlineValue;
    if (option->takesValue && !hasInline) {
        if (i + 1 >= args.size())
            return {true, "option '" + std::string(arg) + "' needs a value"};
        value = args[++i];
    } else if (!option->takesValue && hasInline) {
        return {true, "option '" + std::string(arg) + "' takes no value"};
    }
    return {true, option->set(options, value)};
}

std::string checkOptions(const Options& options)
{
    return checkConsistency(options);
}

ParseResult parseCommandLine(const std::vector<std::string>& args)
{
    Options options;
    bool haveCommand = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.command = Command::Help;
            return {options, {}};
        }
        if (arg == "--version") {
            options.command = Command::Version;
            return {options, {}};
        }
        if (!arg.empty() && arg[0] == '-') {
            if (auto step = parseOption(args, i, options); !step.error.empty())
                return {std::nullopt, step.error};
            continue;
        }
        if (haveCommand && options.command == Command::Record && options.operand.empty()) {
            options.operand = std::string(arg);
            continue;
        }
        if (haveCommand)
            return {std::nullopt, "unexpected argument '" + std::string(arg) + "'"};
        const auto command = lookup(kCommands, arg);
        if (!command)
            return {std::nullopt, "unknown command '" + std::string(arg) + "' (try 'vornctl --help')"};
        options.command = static_cast<Command>(*command);
        haveCommand = true;
    }
    if (!haveCommand)
        return {std::nullopt, "no command given (try 'vornctl --help')"};
    if (options.command == Command::Record && options.operand.empty())
        return {std::nullopt, "'record' needs the FILE to record to (try 'vornctl --help')"};
    if (auto error = checkConsistency(options); !error.empty())
        return {std::nullopt, error};
    return {options, {}};
}

} // namespace vornctl
