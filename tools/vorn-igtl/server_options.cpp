#include "server_options.h"

#include "config_file.h"

#include <arpa/inet.h>
#include <charconv>
#include <cstdio>
#include <set>

namespace vornigtl {

namespace {

std::optional<uint64_t> numberIn(const std::string& text, uint64_t low, uint64_t high)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// One option of the listening side (isServerOption(name) holds); returns an error text, empty on success.
std::string parseServerOption(const std::string& name, const std::string& value, ServerSettings& server)
{
    struct Bounded {
        const char* name;
        uint64_t low, high;
        const char* expected;
    };
    static const Bounded kNumbers[] = {
        {"--listen-port", 0, 65535, "a TCP port from 0 to 65535 (0: any free port)"},
        {"--queue", 1, 1024, "a number of frames from 1 to 1024"},
        {"--max-clients", 1, 1024, "a number of clients from 1 to 1024"},
    };
    if (name == "--listen-address") {
        in_addr parsed {};
        if (inet_pton(AF_INET, value.c_str(), &parsed) != 1)
            return "invalid value '" + value + "' for " + name +
                   ": expected an IPv4 address such as 0.0.0.0 or 127.0.0.1 (not a host name)";
        server.address = value;
        return {};
    }
    for (const auto& option : kNumbers) {
        if (name != option.name)
            continue;
        const auto n = numberIn(value, option.low, option.high);
        if (!n)
            return "invalid value '" + value + "' for " + name + ": expected " + option.expected;
        if (name == "--listen-port")
            server.port = static_cast<uint16_t>(*n);
        else if (name == "--queue")
            server.queueFrames = *n;
        else
            server.maxClients = *n;
    }
    return {};
}

bool isServerOption(const std::string& name)
{
    return name == "--listen-port" || name == "--listen-address" || name == "--queue" || name == "--max-clients";
}

std::string apply(const std::vector<std::string>& args, ServerOptions& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasInline = false;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasInline = true;
        }
        if (name == "--config") {
            if (!hasInline)
                ++i; // read before the other options
            continue;
        }
        if (isServerOption(name)) {
            if (!hasInline) {
                if (i + 1 >= args.size())
                    return "option '" + name + "' needs a value";
                value = args[++i];
            }
            if (auto error = parseServerOption(name, value, options.server); !error.empty())
                return error;
            continue;
        }
        if (name.empty() || name[0] != '-')
            return "unexpected argument '" + name + "' (vorn-igtl takes options only; try --help)";
        const auto step = vornctl::parseOption(args, i, options.group);
        if (!step.error.empty())
            return step.error;
    }
    return {};
}

std::optional<std::string> configPathOf(const std::vector<std::string>& args, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--config=", 0) == 0)
            return args[i].substr(9);
        if (args[i] == "--config") {
            if (i + 1 >= args.size()) {
                error = "option '--config' needs a value";
                return std::nullopt;
            }
            return args[i + 1];
        }
    }
    return std::nullopt;
}

// Whether the command line chooses the link itself.
bool choosesLink(const std::vector<std::string>& args)
{
    for (const auto& arg : args) {
        const std::string name = arg.substr(0, arg.find('='));
        for (const char* link : {"-p", "--port", "-t", "--tcpip", "--isa", "--pv2"})
            if (name == link)
                return true;
    }
    return false;
}

// The file's options without its link and the options that belong to it, for
// a command line that chooses another link: the command line wins.
std::vector<std::string> withoutLink(const std::vector<std::string>& fileArgs)
{
    static const std::set<std::string> kLinkBound {"--port",         "--tcpip",        "--isa",         "--pv2",
                                                   "--baud",         "--group-mode",   "--stand-alone", "--units",
                                                   "--read-timeout", "--write-timeout"};
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < fileArgs.size(); ++i) {
        const bool valueFollows = i + 1 < fileArgs.size() && fileArgs[i + 1].rfind("--", 0) != 0;
        if (kLinkBound.count(fileArgs[i]) == 0)
            kept.push_back(fileArgs[i]);
        else if (valueFollows)
            ++i;
    }
    return kept;
}

} // namespace

ServerParse parseServerArguments(const std::vector<std::string>& args)
{
    ServerOptions options;
    options.group.command = vornctl::Command::Stream;
    for (const auto& arg : args) {
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return {options, {}};
        }
        if (arg == "--version") {
            options.version = true;
            return {options, {}};
        }
    }
    std::string error;
    const auto configPath = configPathOf(args, error);
    if (!error.empty())
        return {std::nullopt, error};
    if (configPath) {
        const auto config = readConfigFile(*configPath);
        if (!config.arguments)
            return {std::nullopt, config.error};
        const auto fileArgs = choosesLink(args) ? withoutLink(*config.arguments) : *config.arguments;
        if (auto failure = apply(fileArgs, options); !failure.empty())
            return {std::nullopt, *configPath + ": " + failure};
    }
    if (auto failure = apply(args, options); !failure.empty())
        return {std::nullopt, failure};
    if (options.group.rideOut)
        return {std::nullopt, "vorn-igtl always rides out lost units: --ride-out is for vornctl record"};
    if (auto failure = vornctl::checkOptions(options.group); !failure.empty())
        return {std::nullopt, failure};
    // vornctl's output options: vorn-igtl prints no frames.
    for (const char* name : {"output", "host-time", "show-errors"})
        if (options.group.gave(name))
            return {std::nullopt, "--" + std::string(name) + " is for vornctl: vorn-igtl sends OpenIGTLink messages"};
    return {options, {}};
}

void printServerUsage(std::FILE* out)
{
    std::fputs("usage: vorn-igtl [options]\n"
               "\n"
               "Wakes a group of Vorn units, streams its frames and sends every connected\n"
               "OpenIGTLink client (3D Slicer, for one) a TRANSFORM message per sensor and\n"
               "frame, named Sensor<address>ToTracker, position in millimetres. Stops\n"
               "cleanly on Ctrl-C or SIGTERM.\n"
               "\n"
               "Units lost while streaming (a pulled line, a controller gone) do not end the\n"
               "server: clients stay connected and get a STATUS saying so with the library's\n"
               "error code; the units are woken up again after 1, 2, 4 ... at most 30 s, each\n"
               "attempt logged, and a STATUS OK comes before the TRANSFORMs resume.\n"
               "\n"
               "Listening:\n"
               "  --listen-port N       TCP port (default 18944; 0: any free port, logged)\n"
               "  --listen-address A    IPv4 address to listen on (default 0.0.0.0: all);\n"
               "                        host names are not looked up\n"
               "  --queue N             frames kept per slow client before its oldest are dropped (8)\n"
               "  --max-clients N       clients served at once (32)\n"
               "  --config FILE         read options from FILE first, one 'name = value' a line\n"
               "\n"
               "The group: every connection and setting option of vornctl (see vornctl --help),\n"
               "e.g. -p/--port 1,2 -b/--baud 115200 -s/--stand-alone -g/--group, the other\n"
               "links, -f/--format, -r/--rate, -u/--unit (that sensor only); -c/--count and\n"
               "-d/--duration end the stream; -q/--quiet logs errors only. -p takes device\n"
               "paths too (/dev/serial/by-id/...). The ISA boards of a vornset cannot stream.\n"
               "\n"
               "Exit status: 0 stopped; 1 a failure while streaming (also: lost units came\n"
               "back set up otherwise); 2 bad options, or a setup that cannot stream (a\n"
               "service restart does not help); 3 no wake-up.\n"
               "\n"
               "Example: vorn-igtl --port 1 --format position-matrix\n",
               out);
}

} // namespace vornigtl
