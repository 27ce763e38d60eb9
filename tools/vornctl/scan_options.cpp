#include "scan_options.h"

#include "options.h"

#include <charconv>

namespace vornctl {

namespace {

std::vector<std::string> itemsOf(const std::string& list)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        items.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return items;
}

std::string setBauds(ScanOptions& scan, const std::string& list)
{
    for (const auto& item : itemsOf(list)) {
        uint32_t baud = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), baud);
        if (error != std::errc() || end != item.data() + item.size() || baud < 50 || baud > 4000000)
            return "invalid value '" + list + "' for --baud: expected baud rates such as 115200 or 9600,115200";
        scan.bauds.push_back(baud);
    }
    return {};
}

std::string setPorts(ScanOptions& scan, const std::string& list)
{
    for (const auto& item : itemsOf(list)) {
        if (item.empty())
            return "invalid value '" + list + "' for --port: expected COM numbers or device paths, e.g. 1,/dev/ttyUSB0";
        scan.ports.push_back(item);
    }
    return {};
}

// The options scan shares with the other commands, parsed by vornctl's own table.
std::string sharedOption(const std::vector<std::string>& args, std::size_t& i, ScanOptions& scan)
{
    const std::string arg = args[i].substr(0, args[i].find('='));
    const bool shared = arg == "-t" || arg == "--tcpip" || arg == "--read-timeout" || arg == "-q" || arg == "--quiet";
    if (!shared)
        return "'scan' takes --port, --baud, --tcpip, --read-timeout and --quiet, not '" + arg + "'";
    Options options;
    const OptionStep step = parseOption(args, i, options);
    if (!step.error.empty())
        return step.error;
    if (!options.server.empty())
        scan.controllers.push_back(options.server + ":" + std::to_string(options.serverPort));
    if (arg == "--read-timeout")
        scan.answerTimeoutMs = options.readTimeoutMs;
    scan.quiet |= options.quiet;
    return {};
}

// -p/--port and -b/--baud take lists here; the value after the option or after "=".
std::string ownOption(const std::vector<std::string>& args, std::size_t& i, ScanOptions& scan, bool& known)
{
    const std::string& arg = args[i];
    const auto equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    known = name == "-p" || name == "--port" || name == "-b" || name == "--baud";
    if (!known)
        return {};
    std::string value;
    if (equals != std::string::npos && name.rfind("--", 0) == 0) {
        value = arg.substr(equals + 1);
    } else {
        if (i + 1 >= args.size())
            return "option '" + name + "' needs a value";
        value = args[++i];
    }
    return name == "-p" || name == "--port" ? setPorts(scan, value) : setBauds(scan, value);
}

} // namespace

const std::vector<uint32_t>& unitBaudRates()
{
    static const std::vector<uint32_t> rates {115200, 57600, 38400, 19200, 9600, 4800, 2400};
    return rates;
}

ScanParse parseScanCommandLine(const std::vector<std::string>& args)
{
    // The command word is the first argument that is neither an option nor an option's value.
    ScanParse result;
    ScanOptions scan;
    std::vector<std::string> words;
    std::string error;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            scan.help = true;
            continue;
        }
        if (arg.empty() || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        bool known = false;
        std::string step = ownOption(args, i, scan, known);
        if (!known)
            step = sharedOption(args, i, scan);
        if (error.empty())
            error = step;
    }
    result.isScan = !words.empty() && words.front() == "scan";
    if (!result.isScan)
        return result;
    if (error.empty() && words.size() > 1)
        error = "unexpected argument '" + words[1] + "'";
    if (!error.empty()) {
        result.error = error;
        return result;
    }
    if (scan.bauds.empty())
        scan.bauds = unitBaudRates();
    result.options = scan;
    return result;
}

} // namespace vornctl
