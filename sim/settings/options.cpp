#include "settings/options.h"

#include "isa/isa_config.h"
#include "replay/replay_file.h"
#include "settings/net_settings.h"
#include "settings/replay_setup.h"
#include "settings/sensor_keys.h"
#include "settings/settings_parser.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

namespace vorn::sim {

namespace {

struct UnitSetting {
    std::string target; // an address, or "*" for every unit
    std::string key;
    std::string value;
};

// A setting of the controller or the ISA boards: a top key, or a unit's key when
// `address` is set.
struct NetSetting {
    bool controller = true; // else the ISA boards
    std::optional<unsigned> address;
    std::string key;
    std::string value;
};

struct Collected {
    std::vector<NetSetting> netSettings;
    unsigned units = 3;
    bool standAlone = false;
    bool boardsGiven = false;
    std::filesystem::path configFile;
    std::string ownLines;
    std::vector<UnitSetting> unitSettings;
    std::vector<std::pair<std::string, std::string>> systemSettings;
    std::filesystem::path replayFile;
    bool loop = false;
};

// Options that set one unit key on every unit.
constexpr std::pair<std::string_view, std::string_view> kUnitShortcuts[] = {
    {"--revision", "revision"},
    {"--rate", "rate"},
    {"--trajectory", "trajectory"},
    {"--format", "format"},
};

// Options that set one key of the file's top part.
constexpr std::pair<std::string_view, std::string_view> kSystemOptions[] = {
    {"--first-port", "first-port"}, {"--dir", "dir"},     {"--seed", "seed"},   {"--metal", "metal"},
    {"--restart-ms", "restart-ms"}, {"--dc", "dc"},       {"--mains", "mains"}, {"--hum", "hum"},
    {"--harmonics", "harmonics"},   {"--tones", "tones"}, {"--noise", "noise"},
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
                    break;
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

// The controller and the boards first, then their units' settings, whatever the order given.
void applyNetSettings(ProgramOptions& options, std::vector<NetSetting> settings)
{
    std::stable_partition(settings.begin(), settings.end(), [](const NetSetting& n) { return !n.address; });
    for (const auto& n : settings) {
        SimulatorConfig& config = options.config;
        std::string error;
        if (n.controller) {
            error = n.address ? applyControllerUnitSetting(config, *n.address, n.key, n.value)
                              : applyControllerSetting(config, n.key, n.value);
        } else {
            error = n.address ? applyIsaUnitSetting(config, *n.address, n.key, n.value)
                              : applyIsaSetting(config, n.key, n.value);
        }
        if (!error.empty()) {
            options.errors.push_back(error);
        }
    }
}

// "N:KEY=VALUE" of --unit-set, --controller-set and --isa-set, or nullopt.
std::optional<UnitSetting> parseUnitSetting(const std::string& text)
{
    const auto colon = text.find(':');
    const auto equals = text.find('=', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || equals == std::string::npos) {
        return std::nullopt;
    }
    return UnitSetting {text.substr(0, colon), text.substr(colon + 1, equals - colon - 1), text.substr(equals + 1)};
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

// Loads the recording and puts it on the units of every link.
void applyReplayFile(ProgramOptions& options, const Collected& c)
{
    if (c.replayFile.empty()) {
        if (c.loop)
            options.errors.push_back("--loop goes with --replay FILE");
        return;
    }
    const ReplayLoad load = loadReplayFile(c.replayFile);
    if (!load.motion) {
        options.errors.push_back(load.error);
        return;
    }
    if (applyReplay(options.config, *load.motion, c.loop) == 0) {
        std::string sensors;
        for (int sensor : sensorsOf(*load.motion))
            sensors += (sensors.empty() ? "" : ", ") + std::to_string(sensor);
        options.errors.push_back(c.replayFile.string() + " holds sensors " + sensors +
                                 ": no simulated unit has one of these addresses");
        return;
    }
    options.replayNote = load.note + (c.loop ? ", looped" : "");
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
        } else if (arg == "--replay") {
            c.replayFile = value();
        } else if (arg == "--loop") {
            c.loop = true;
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
            c.netSettings.push_back({true, std::nullopt, "units", value()});
        } else if (arg == "--controller-port") {
            c.netSettings.push_back({true, std::nullopt, "port", value()});
        } else if (arg == "--controller-revision") {
            c.netSettings.push_back({true, std::nullopt, "revision", value()});
        } else if (arg == "--isa" || arg == "--pv2") {
            // A second list would replace the first without a word.
            if (std::exchange(c.boardsGiven, true)) {
                options.errors.push_back("--isa and --pv2 describe the boards: give one of them, once");
            }
            c.netSettings.push_back({false, std::nullopt, arg == "--pv2" ? "pv2" : "boards", value()});
        } else if (arg == "--controller-set" || arg == "--isa-set") {
            const auto setting = parseUnitSetting(value());
            const auto address = setting ? parseInt<uint8_t>(setting->target) : std::nullopt;
            if (!address) {
                options.errors.push_back(arg + " takes N:KEY=VALUE");
                continue;
            }
            c.netSettings.push_back({arg == "--controller-set", *address, setting->key, setting->value});
        } else if (arg == "--config") {
            c.configFile = value();
        } else if (arg == "--env-file") {
            options.envFile = value();
        } else if (arg == "--own-lines") {
            c.ownLines = value();
        } else if (arg == "--unit-set") {
            const auto setting = parseUnitSetting(value());
            if (!setting) {
                options.errors.push_back("--unit-set takes N:KEY=VALUE");
                continue;
            }
            c.unitSettings.push_back(*setting);
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
    applyNetSettings(options, c.netSettings);
    if (options.config.isa) {
        if (auto overlap = boardOverlap(*options.config.isa); !overlap.empty()) {
            options.errors.push_back(overlap);
        }
    }
    applyReplayFile(options, c);
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
           "  --dir DIR            folder for the COM<n> links (default: a new temporary folder);\n"
           "                       one running simulator per folder\n"
           "  --env-file FILE      also write the printed VORN_...=<value> lines to FILE, for a\n"
           "                       shell to source; removed again when vornsim stops\n"
           "  --config FILE        read settings from FILE (format below)\n"
           "  --revision X.YY      software revision of every unit (default 3.67), a decimal\n"
           "                       number with at most two places: 3.4 is 3.40 (answer bytes 3,\n"
           "                       40); 3.04 answers 3, 4, which Humgather reads as 3.4\n"
           "  --rate HZ            measurement rate of every unit after a reset (default 103.3)\n"
           "  --trajectory NAME    still, circle, figure-eight or random-walk for every sensor\n"
           "  --format CODE        data format after a reset (default 4, position/angles)\n"
           "  --unit-set N:KEY=V   one unit setting (unit keys below) for unit N, or * for all\n"
           "  --metal X,Y,Z,S      metal at X,Y,Z inches with strength S; may repeat. Sensors of\n"
           "                       every link move among it\n"
           "  --seed N             seed of the noise and random walks (default 1)\n"
           "  --restart-ms N       how long a unit stays silent after \"b\" (default 4000)\n"
           "  --controller N       also a networked controller with N units (1..120) on a\n"
           "                       loopback TCP port, printed as VORN_CONTROLLER=127.0.0.1:<port>\n"
           "  --controller-port N  the controller listens on port N instead of any free one, so\n"
           "                       that a vornsim stopped and started again with the same\n"
           "                       --controller-port and --dir is the same unit coming back\n"
           "  --controller-revision X.YY   the controller's software revision (default 3.00;\n"
           "                       1.x controllers take no single shots)\n"
           "  --controller-set N:KEY=V   one setting of the controller's unit N (controller\n"
           "                       unit keys below)\n"
           "  --isa LIST           also ISA boards behind a port-I/O socket, printed as\n"
           "                       VORN_PORTIO=<path>: base addresses by unit address, master\n"
           "                       first: 0x300 (a stand-alone board) or 0x300,0x320,0 (0: the\n"
           "                       unit is reached through the master's board)\n"
           "  --pv2 BASE           also a PV2 master board at BASE with a second unit behind it\n"
           "  --isa-set N:KEY=V    one setting of ISA unit N (0 on a stand-alone board; ISA\n"
           "                       unit keys below), e.g. 1:model=PELLVORN2\n"
           "  --replay FILE        the sensors move as recorded in FILE, on every link: a\n"
           "                       vornctl record or stream file (CSV or JSON lines) or a\n"
           "                       Vornscope data file. The file's sensor N moves the unit\n"
           "                       at address N (a stand-alone unit: the first sensor); the\n"
           "                       frames come at the recorded pace from the first measurement\n"
           "                       after a unit's reset (every wake-up), as recorded, without\n"
           "                       noise; after the last frame the unit holds it\n"
           "  --loop               with --replay: start over after the last frame\n"
           "  --quiet              do not log events to standard error\n"
           "  --help, -h           show this text\n"
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
           "Configuration file: lines \"key = value\"; \"#\" starts a comment. The top part takes\n"
           "first-port, dir, seed, restart-ms, metal (repeatable) and the environment's\n"
           "dc, mains, hum, harmonics, tones and noise. Sections \"[unit N]\" each describe one\n"
           "RS232 unit at address N (0: a stand-alone unit alone) and replace the default\n"
           "units. \"[controller]\" adds a networked controller (3 units unless units says\n"
           "otherwise), \"[controller unit N]\" sets its unit N; \"[isa]\" adds ISA boards (a\n"
           "stand-alone board at 0x300 unless boards or pv2 says otherwise), \"[isa unit N]\"\n"
           "sets the unit at address N. Options given on the command line win over the file.\n"
           "\n"
           "RS232 unit keys:\n" +
           settingsHelp() + "Sensor keys, for the units of every link:\n" + sensorSettingsHelp() +
           "[controller] keys:\n" + controllerSettingsHelp() + "Controller unit keys:\n" +
           controllerUnitSettingsHelp() + "[isa] keys:\n" + isaSettingsHelp() + "ISA unit keys:\n" +
           isaUnitSettingsHelp() +
           "\n"
           "With no options vornsim serves the default vornset and prints how to reach it.\n";
}

} // namespace vorn::sim
