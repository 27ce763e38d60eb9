// The command line of vornctl: one command word plus options, parsed into
// plain values so that the commands never look at argv.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornctl {

enum class Command { Help, Version, Info, Set, Reading, Frame, Stream, Demo, Record };

enum class OutputFormat { Auto, Csv, Json, Table };

// How the group is reached: serial lines, a networked controller, ISA
// boards, or a PV2 master board with its second unit behind it.
enum class Connection { Rs232, Tcpip, Isa, Pv2 };

// Option values that change a unit or the system before the command runs.
struct Settings {
    std::optional<uint8_t> dataFormat;
    std::optional<double> measurementRate;
    std::optional<uint8_t> hemisphere;
    std::optional<uint8_t> filters; // setup bits 0-2 (DC, wide notch, narrow notch)
    std::optional<uint16_t> scaling;
    std::optional<uint8_t> reportRate;
    std::optional<bool> button;

    bool touchesUnits() const { return dataFormat || hemisphere || filters || scaling || reportRate || button; }
    bool any() const { return touchesUnits() || measurementRate.has_value(); }
};

struct Options {
    Command command = Command::Help;
    std::string operand; // record: the file

    // Connection.
    Connection connection = Connection::Rs232;
    std::string server; // TCP/IP: the controller's address or host name
    uint16_t serverPort = 0;
    std::vector<uint16_t> bases; // ISA: board base addresses by unit address; PV2: the master's
    int group = 1;
    bool standAlone = false;
    std::vector<uint16_t> ports {1}; // by unit address: master first (or the stand-alone unit)
    // Device paths given in --port instead of numbers, with the COM numbers
    // that stand for them (published as VORN_COM<n> before the wake-up).
    struct PortPath {
        uint16_t number = 0;
        std::string path;
    };
    std::vector<PortPath> portPaths;
    int units = 0; // 0: as many as ports were given
    uint32_t baud = 115200;
    uint32_t readTimeoutMs = 2000;
    uint32_t writeTimeoutMs = 1000;
    int groupMode = 0; // 0 automatic, 1 off, 2 on (the library's codes)

    // What to take and how to print it.
    std::optional<int> unit; // reading/set: one unit instead of all
    std::optional<uint64_t> count;
    std::optional<double> durationS;
    OutputFormat output = OutputFormat::Auto;
    bool quiet = false;
    bool showErrors = false; // also show the library's own messages
    bool hostTime = false;   // a host_time_s column beside the frame's own time stamp
    bool rideOut = false;    // record: a lost group is woken up again, the gap noted

    // Long names of the options given, to refuse those that conflict or do not apply.
    std::vector<std::string> given;
    bool gave(std::string_view name) const
    {
        for (const auto& option : given)
            if (option == name)
                return true;
        return false;
    }

    Settings settings;

    // Units of the group; 0 over TCP/IP means "as many as the controller reports".
    int unitCount() const
    {
        switch (connection) {
        case Connection::Tcpip: return units;
        case Connection::Pv2: return 2;
        case Connection::Isa: return standAlone ? 1 : (units > 0 ? units : static_cast<int>(bases.size()));
        case Connection::Rs232: break;
        }
        return standAlone ? 1 : (units > 0 ? units : static_cast<int>(ports.size()));
    }
};

struct ParseResult {
    std::optional<Options> options;
    std::string error; // set when options is empty
};

ParseResult parseCommandLine(const std::vector<std::string>& args);

// One option of the table at args[i], with its value (i moves past it), for
// programs that take vornctl's connection and setting options beside their
// own. `known` is false when the option is not vornctl's.
struct OptionStep {
    bool known = true;
    std::string error; // empty on success
};
OptionStep parseOption(const std::vector<std::string>& args, std::size_t& i, Options& options);
// The checks across options that parseCommandLine makes last.
std::string checkOptions(const Options& options);

// Names accepted for --format, by data format code; used by help and printing.
const char* dataFormatName(uint8_t code);
const char* hemisphereName(uint8_t code);

} // namespace vornctl
