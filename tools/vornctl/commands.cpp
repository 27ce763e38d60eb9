#include "commands.h"

#include "config_printer.h"
#include "exit_codes.h"
#include "frame_writer.h"
#include "group_session.h"
#include "output_check.h"
#include "stop_request.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vornctl {

namespace {

int callFailure(const GroupSession& session, const std::string& what)
{
    session.failed(what);
    return stopRequested() ? kExitInterrupted : kExitFailure;
}

// The exit status for output that did not reach its file: a reader that
// went away ends the job as if it were done.
int statusOf(OutputState output)
{
    return output == OutputState::Failed ? kExitFailure : kExitOk;
}

OutputFormat chooseFormat(OutputFormat requested, bool terminal)
{
    if (requested != OutputFormat::Auto)
        return requested;
    return terminal ? OutputFormat::Table : OutputFormat::Csv;
}

TerminalSize terminalSize()
{
    winsize size {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0)
        return {};
    return {size.ws_row, size.ws_col};
}

std::unique_ptr<FrameWriter> writerFor(const Options& options, const std::vector<UnitLayout>& units,
                                       bool liveIfTerminal)
{
    const bool terminal = isatty(STDOUT_FILENO) != 0;
    const OutputFormat format = chooseFormat(options.output, terminal);
    WriterSetup setup;
    setup.live = liveIfTerminal && terminal;
    setup.terminal = terminal ? terminalSize() : TerminalSize {};
    setup.hostTime = options.hostTime;
    return makeFrameWriter(format, stdout, units, setup);
}

uint32_t monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

bool noDataUnits(const std::vector<UnitLayout>& units)
{
    if (!units.empty())
        return false;
    std::fprintf(stderr, "vornctl: no unit delivers data (no sensor, or data format none; try --format)\n");
    return true;
}

std::string listOf(const std::vector<int>& addresses)
{
    std::string text;
    for (int address : addresses)
        text += (text.empty() ? "" : ", ") + std::to_string(address);
    return text;
}

// Leaves out of single frames the units that cannot be in them, and says why.
std::vector<UnitLayout> unitsInSingleFrames(const GroupSession& session, const Options& options,
                                            std::vector<UnitLayout> units)
{
    const std::vector<int> silent = session.silentInSingleFrames(units);
    if (silent.empty())
        return units;
    std::erase_if(units, [&](const UnitLayout& unit) {
        return std::find(silent.begin(), silent.end(), unit.address) != silent.end();
    });
    const bool rs232 = options.connection == Connection::Rs232;
    const bool one = silent.size() == 1;
    std::fprintf(stderr,
                 "vornctl: %s %s %s no %s of %s own, so %s nothing in single frames%s;\n"
                 "  take %s with 'reading'%s\n",
                 one ? "unit" : "units", listOf(silent).c_str(), one ? "has" : "have", rs232 ? "line" : "board",
                 one ? "its" : "their", one ? "it sends" : "they send",
                 units.empty() ? "" : (one ? " and is left out" : " and are left out"), one ? "it" : "them",
                 rs232 ? ", or with --group-mode auto or on" : "");
    return units;
}

void printAllConfiguration(const GroupSession& session, const Options& options)
{
    std::vector<int> shown;
    for (int address : session.addresses())
        if (!options.unit || *options.unit == address || session.standAlone())
            shown.push_back(address);
    if (options.output == OutputFormat::Json) {
        printConfigurationJson(stdout, session.system(), session.standAlone(), shown,
                               [&](int address) -> const VornDeviceConfig& { return session.device(address); });
        return;
    }
    printSystemConfig(stdout, session.system(), session.standAlone());
    for (int address : shown)
        printDeviceConfig(stdout, address, session.device(address));
}

// Takes --count frames (default 1) with `take`, which fills a zeroed frame
// and returns what failed, or "" on success.
template <typename Take>
int takeRepeatedly(const GroupSession& session, const Options& options, const std::vector<UnitLayout>& units, Take take)
{
    if (noDataUnits(units))
        return kExitFailure;
    auto writer = writerFor(options, units, false);
    OutputState output = flushOutput(stdout);
    const uint64_t count = options.count.value_or(1);
    for (uint64_t n = 0; n < count && !stopRequested() && output == OutputState::Written; ++n) {
        VornFrame frame {};
        if (const std::string failed = take(frame); !failed.empty())
            return callFailure(session, failed);
        writer->write(frame, monotonicMs());
        output = flushOutput(stdout);
    }
    if (output != OutputState::Written)
        return statusOf(output);
    writer->finish();
    if (const int status = statusOf(flushOutput(stdout)); status != kExitOk)
        return status;
    return stopRequested() ? kExitInterrupted : kExitOk;
}

} // namespace

int prepareGroup(GroupSession& session, const Options& options)
{
    if (!session.wakeUp())
        return stopRequested() ? kExitInterrupted : kExitNoGroup;
    if (!session.loadConfiguration())
        return stopRequested() ? kExitInterrupted : kExitFailure;
    // Over TCP/IP only the controller knows how many units there are.
    if (options.unit && !session.standAlone() && !session.hasUnit(*options.unit)) {
        std::fprintf(stderr, "vornctl: --unit %d: the group has units 1..%zu only\n", *options.unit,
                     session.addresses().size());
        return kExitUsage;
    }
    if (!session.apply(options.settings))
        return stopRequested() ? kExitInterrupted : kExitFailure;
    return kExitOk;
}

int runInfo(const Options& options)
{
    GroupSession session(options);
    if (const int status = prepareGroup(session, options); status != kExitOk)
        return status;
    printAllConfiguration(session, options);
    return statusOf(flushOutput(stdout));
}

int runSet(const Options& options)
{
    if (!options.settings.any()) {
        std::fprintf(stderr, "vornctl: 'set' needs at least one of --format, --rate, --hemisphere, --filters, "
                             "--scaling, --report-rate, --button\n");
        return kExitUsage;
    }
    return runInfo(options);
}

int runReading(const Options& options)
{
    GroupSession session(options);
    if (const int status = prepareGroup(session, options); status != kExitOk)
        return status;
    const std::vector<UnitLayout> units = session.dataUnits();
    return takeRepeatedly(session, options, units, [&](VornFrame& frame) {
        frame.time = monotonicMs();
        for (const auto& unit : units) {
            if (!vornStartReading(session.group(), unit.address) ||
                !vornGetReading(session.group(), unit.address, &frame.reading[unit.address]))
                return "reading unit " + std::to_string(unit.address);
        }
        return std::string();
    });
}

int runFrame(const Options& options)
{
    GroupSession session(options);
    if (const int status = prepareGroup(session, options); status != kExitOk)
        return status;
    const auto units = unitsInSingleFrames(session, options, session.dataUnits());
    return takeRepeatedly(session, options, units, [&](VornFrame& frame) {
        if (!vornStartSingleFrame(session.group()) || !vornGetFrame(session.group(), &frame))
            return std::string("taking a frame");
        return std::string();
    });
}

int runStream(const Options& options)
{
    GroupSession session(options);
    if (const int status = prepareGroup(session, options); status != kExitOk)
        return status;
    const auto units = session.dataUnits();
    if (noDataUnits(units))
        return kExitFailure;
    auto writer = writerFor(options, units, true);
    if (const OutputState output = flushOutput(stdout); output != OutputState::Written)
        return statusOf(output);
    if (!vornStartFrameStream(session.group()))
        return callFailure(session, "starting the stream");

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const bool bounded = options.count || options.durationS;
    uint64_t taken = 0, realigned = 0;
    int status = kExitOk;
    OutputState output = OutputState::Written;
    VornFrame frame {};
    while (!stopRequested() && output == OutputState::Written) {
        if (options.count && taken >= *options.count)
            break;
        if (options.durationS && std::chrono::duration<double>(Clock::now() - start).count() >= *options.durationS)
            break;
        if (!vornGetFrame(session.group(), &frame)) {
            const int code = vornGetErrorCode();
            if (code == VORN_ERR_PHASE) {
                ++realigned; // the stream is aligned again; the next frame is good
                continue;
            }
            if (stopRequested())
                break;
            std::fprintf(stderr, "vornctl: taking a frame failed (error code %d)\n", code);
            status = kExitFailure;
            break;
        }
        writer->write(frame, monotonicMs());
        output = flushOutput(stdout);
        ++taken;
    }
    if (output == OutputState::Written) {
        writer->finish();
        output = flushOutput(stdout);
    }
    if (status == kExitOk)
        status = statusOf(output);
    if (stopRequested())
        session.resumeAfterStop();
    if (!vornStopFrameStream(session.group()) && status == kExitOk)
        status = callFailure(session, "stopping the stream");
    if (!options.quiet)
        std::fprintf(stderr, "vornctl: %llu frame(s), %llu dropped by a phase error\n",
                     static_cast<unsigned long long>(taken), static_cast<unsigned long long>(realigned));
    if (status == kExitOk && stopRequested() && bounded)
        return kExitInterrupted;
    return status;
}

} // namespace vornctl
