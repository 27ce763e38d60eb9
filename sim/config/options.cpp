#include "config/options.h"

#include "config/settings_parser.h"

#include <fstream>
#include <sstream>

namespace vorn::sim {

namespace {

struct UnitSetting {
    std::string target; // an address, or "*" for every unit
    std::string key;
    std::string value;
};

struct Collected {
    std::optional<ControllerConfig> controller;
    std::optional<IsaConfig> isa;
    unsigned units = 3;
    bool standAlone = false;
    std::filesystem::path configFile;
    std::string ownLines;
    std::vector<UnitSetting> unitSettings;
    std::vector<std::pair<std::string, std::string>> systemSettings;
};

// Options that set one unit key on every unit.
constexpr std::pair<std::string_view, std::string_view> kUnitShortcuts[] = {
    {"--revision", "revision"}, {"--rate", "rate"}, {"--trajectory", "trajectory"}, {"--format", "format"},
};

// Options that set one key of the file's top part.
constexpr std::pair<std::string_view, std::string_view> kSystemOptions[] = {
    {"--first-port", "first-port"}, {"--dir", "dir"}, {"--seed", "seed"},
    {"--metal", "metal"},           {"--restart-ms", "restart-ms"},
    {"--dc", "dc"},                 {"--mains", "mains"},
    {"--hum", "hum"},               {"--harmonics", "harmonics"},
    {"--tones", "tones"},           {"--noise", "noise"},
};

void applyUnitSettings(ProgramOptions& options, const std::vector<UnitSetting>& settings)
{
    for (const auto& s : settings) {
        bool matched = false;
        for (auto& unit : options.config.units) {
            if (s.target == "*" || s.target == std::to_string(unit.address)) {
                matched = true;
                const auto error = applyUnitSetting(unit, s.key, s.value);
                if (!error.empty()) {
                    options.errors.push_back(error);
                }
            }
        }
        if (!matched) {
            options.errors.push_back("no unit " + s.target + " for setting " + s.key);
        }
    }
}

void applyOwnLines(ProgramOptions& options, const std::string& list)
{
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        applyUnitSettings(options, {{item, "own-line", "yes"}});
    }
}

// Board base addresses, master first: "0x300" (one stand-alone board) or "0x300,0x320,0".
std::optional<IsaConfig> parseIsaBases(const std::string& list)
{
    std::vector<uint16_t> bases;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        char* end = nullptr;
        const unsigned long base = std::strtoul(item.c_str(), &end, 0);
        if (item.empty() || *end != '\0' || base > 0xFFFF)
            return std::nullopt;
        bases.push_back(static_cast<uint16_t>(base));
    }
    if (bases.empty() || bases.front() == 0)
        return std::nullopt;
    return bases.size() == 1 ? isaStandAloneConfig(bases.front()) : isaVornsetConfig(bases);
}

void readConfigFile(ProgramOptions& options, const std::filesystem::path& file)
{
    std::ifstream in(file);
    if (!in) {
        options.errors.push_back("cannot read configuration file " + file.string());
        return;
    }
    std::stringstream text;
    text << in.rdbuf();
    for (const auto& error : applyConfigText(options.config, text.str())) {
        options.errors.push_back(file.string() + ": " + error);
    }
}

} // namespace

ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments)
{
    ProgramOptions options;
    Collected c;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= arguments.size()) {
                options.errors.push_back(arg + " needs a value");
                return {};
            }
            return arguments[++i];
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--standalone") {
            c.standAlone = true;
        } else if (arg == "--units") {
            const std::string v = value();
            c.units = static_cast<unsigned>(std::strtoul(v.c_str(), nullptr, 10));
            if (c.units < 1 || c.units > 126) {
                options.errors.push_back("--units takes 1 to 126");
                c.units = 3;
            }
        } else if (arg == "--controller") {
            const std::string v = value();
            const unsigned long units = std::strtoul(v.c_str(), nullptr, 10);
            if (units < 1 || units > 120)
                options.errors.push_back("--controller takes 1 to 120 units");
            else
                c.controller = controllerConfig(static_cast<unsigned>(units));
        } else if (arg == "--controller-revision") {
            const auto revision = parseRevision(value());
            if (!revision || !c.controller)
                options.errors.push_back("--controller-revision takes X.YY, after --controller");
            else
                c.controller->softwareRevision = *revision;
        } else if (arg == "--isa" || arg == "--pv2") {
            const std::string v = value();
            c.isa = parseIsaBases(arg == "--pv2" ? v + ",0" : v);
            if (!c.isa)
                options.errors.push_back(arg + " takes board base addresses such as 0x300 or 0x300,0x320,0");
        } else if (arg == "--config") {
            c.configFile = value();
        } else if (arg == "--env-file") {
            options.envFile = value();
        } else if (arg == "--own-lines") {
            c.ownLines = value();
        } else if (arg == "--unit-set") {
            const std::string v = value();
            const auto colon = v.find(':');
            const auto equals = v.find('=', colon == std::string::npos ? 0 : colon);
            if (colon == std::string::npos || equals == std::string::npos) {
                options.errors.push_back("--unit-set takes N:KEY=VALUE");
                continue;
            }
            c.unitSettings.push_back({v.substr(0, colon), v.substr(colon + 1, equals - colon - 1), v.substr(equals + 1)});
        } else {
            bool known = false;
            for (const auto& [option, key] : kUnitShortcuts) {
                if (arg == option) {
                    c.unitSettings.push_back({"*", std::string(key), value()});
                    known = true;
                }
            }
            for (const auto& [option, key] : kSystemOptions) {
                if (arg == option) {
                    c.systemSettings.emplace_back(std::string(key), value());
                    known = true;
                }
            }
            if (!known) {
                options.errors.push_back("unknown option " + arg + " (see --help)");
            }
        }
    }
    options.config = c.standAlone ? standAloneConfig() : vornsetConfig(c.units);
    if (!c.configFile.empty()) {
        readConfigFile(options, c.configFile);
    }
    for (const auto& [key, v] : c.systemSettings) {
        const auto error = applySystemSetting(options.config, key, v);
        if (!error.empty()) {
            options.errors.push_back(error);
        }
    }
    applyOwnLines(options, c.ownLines);
    applyUnitSettings(options, c.unitSettings);
    options.config.controller = c.controller;
    options.config.isa = c.isa;
    return options;
}

std::string programHelp()
{
    return "usage: vornsim [options]\n"
           "\n"
           "Simulates Vorn units on pseudo-terminals. Each unit with a line of its own gets\n"
           "one; the program prints a line VORN_COM<n>=<path> for each, and programs that\n"
           "open COM<n> reach it. The default is a vornset of 3 units: the master (address 1)\n"
           "on COM1, units 2 and 3 behind it on the FVB. Stop it with Ctrl+C (SIGINT) or SIGTERM.\n"
           "\n"
           "Options:\n"
           "  --units N            a vornset of N units, addresses 1..N (default 3)\n"
           "  --standalone         one stand-alone unit (address 0, 40 MHz) instead of a vornset:\n"
           "                       the bench unit for Humgather's noise collection\n"
           "  --own-lines LIST     comma-separated addresses of units that get a line of their\n"
           "                       own besides the master, e.g. 2,3\n"
           "  --first-port N       number of the first COM port (default 1)\n"
           "  --dir DIR            folder for the COM<n> links (default: a new temporary folder)\n"
           "  --env-file FILE      also write the VORN_COM<n>=<path> lines to FILE\n"
           "  --config FILE        read settings from FILE (format below)\n"
           "  --revision X.YY      software revision of every unit (default 3.67)\n"
           "  --rate HZ            measurement rate of every unit after a reset (default 103.3)\n"
           "  --trajectory NAME    still, circle, figure-eight or random-walk for every sensor\n"
           "  --format CODE        data format after a reset (default 4, position/angles)\n"
           "  --unit-set N:KEY=V   one unit setting (keys below) for unit N, or * for all\n"
           "  --metal X,Y,Z,S      metal at X,Y,Z inches with strength S; may repeat\n"
           "  --seed N             seed of the noise and random walks (default 1)\n"
           "  --restart-ms N       how long a unit stays silent after \"b\" (default 4000)\n"
           "  --controller N       also a networked controller with N units (1..120) on a\n"
           "                       loopback TCP port, printed as VORN_CONTROLLER=127.0.0.1:<port>\n"
           "  --controller-revision X.YY   the controller's software revision (default 3.00;\n"
           "                       1.x controllers take no single shots)\n"
           "  --isa LIST           also ISA boards behind a port-I/O socket, printed as\n"
           "                       VORN_PORTIO=<path>: base addresses by unit address, master\n"
           "                       first: 0x300 (a stand-alone board) or 0x300,0x320,0 (0: the\n"
           "                       unit is reached through the master's board)\n"
           "  --pv2 BASE           also a PV2 master board at BASE with a second unit behind it\n"
           "  --quiet              do not log events to standard error\n"
           "  --help               show this text\n"
           "\n"
           "Magnetic environment, as the receivers' raw channels show it in test mode (the\n"
           "noise collection's samples); amplitudes in volts at the X receiver axis:\n"
           "  --dc V               steady level (default 1.0)\n"
           "  --mains HZ           mains frequency, 50 or 60 (default 60)\n"
           "  --hum V              amplitude of the mains fundamental (default 0.05)\n"
           "  --harmonics LIST     amplitudes of the 2nd, 3rd... mains harmonics relative to\n"
           "                       the fundamental, or none (default 0.3,0.15,0.08)\n"
           "  --tones LIST         other tones HZ:V,HZ:V..., e.g. a monitor's refresh, or none\n"
           "                       (default 75:0.01)\n"
           "  --noise V            standard deviation of white noise (default 0.004)\n"
           "\n"
           "\n"
           "Configuration file: lines \"key = value\"; \"#\" starts a comment. The top part takes\n"
           "first-port, dir, seed, restart-ms, metal (repeatable) and the environment's\n"
           "dc, mains, hum, harmonics, tones and noise. Sections \"[unit N]\" each\n"
           "describe one unit at address N (0: a stand-alone unit alone) and replace the default\n"
           "units. Options given on the command line win over the file. Unit keys:\n" +
           settingsHelp();
}

} // namespace vorn::sim
