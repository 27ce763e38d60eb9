// vornctl: command-line client of the Vorn driver library.
#include "commands.h"
#include "exit_codes.h"
#include "library_messages.h"
#include "options.h"
#include "output_check.h"
#include "scan_options.h"
#include "stop_request.h"
#include "usage.h"

#include <vorn/vorn.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int printVersion()
{
    char version[5];
    vornGetDllVersion(version);
    std::printf("vornctl, driver library version %s\n", version);
    return vornctl::kExitOk;
}

int written(int status)
{
    return vornctl::flushOutput(stdout) == vornctl::OutputState::Failed ? vornctl::kExitFailure : status;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace vornctl;
    const std::vector<std::string> args(argv + 1, argv + argc);
    // scan takes lists of device paths and baud rates: a command line of its own.
    if (const ScanParse scan = parseScanCommandLine(args); scan.isScan) {
        if (!scan.options) {
            std::fprintf(stderr, "vornctl: %s\n", scan.error.c_str());
            return kExitUsage;
        }
        if (scan.options->help) {
            printUsage(stdout);
            return kExitOk;
        }
        if (!prepareStandardStreams())
            return kExitFailure;
        installStopHandlers();
        return runScan(*scan.options);
    }
    const ParseResult parsed = parseCommandLine(args);
    if (!parsed.options) {
        std::fprintf(stderr, "vornctl: %s\n", parsed.error.c_str());
        return kExitUsage;
    }
    const Options& options = *parsed.options;
    if (!prepareStandardStreams())
        return kExitFailure;
    installStopHandlers();
    // The library's own messages go to standard error.
    showLibraryMessages();
    switch (options.command) {
    case Command::Help: printUsage(stdout); return written(kExitOk);
    case Command::Version: return written(printVersion());
    case Command::Info: return runInfo(options);
    case Command::Set: return runSet(options);
    case Command::Reading: return runReading(options);
    case Command::Frame: return runFrame(options);
    case Command::Stream: return runStream(options);
    case Command::Demo: return runDemo(options);
    case Command::Record: return runRecord(options);
    }
    return kExitUsage;
}
