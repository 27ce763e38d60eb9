#include "commands.h"

#include "config_printer.h"
#include "exit_codes.h"
#include "frame_writer.h"
#include "group_session.h"
#include "stop_request.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace vornctl {

namespace {

constexpr int kPhaseErrorRealigned = 33;

// Wakes the group, reads its configuration and applies the options' settings.
int prepare(GroupSession& session, const Options& options)
{
    if (!session.wakeUp())
        return stopRequested() ? kExitInterrupted : kExitNoGroup;
    if (!session.loadConfiguration() || !session.apply(options.settings))
        return stopRequested() ? kExitInterrupted : kExitFailure;
    return kExitOk;
}

int callFailure(const GroupSession& session, const std::string& what)
{
    session.failed(what);
    return stopRequested() ? kExitInterrupted : kExitFailure;
}

OutputFormat chooseFormat(OutputFormat requested, bool terminal)
{
    if (requested != OutputFormat::Auto)
        return requested;
    return terminal ? OutputFormat::Table : OutputFormat::Csv;
}

std::unique_ptr<FrameWriter> writerFor(const Options& options, const std::vector<UnitLayout>& units, bool liveIfTerminal)
{
    const bool terminal = isatty(STDOUT_FILENO) != 0;
    const OutputFormat format = chooseFormat(options.output, terminal);
    return makeFrameWriter(format, stdout, units, liveIfTerminal && terminal);
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

void printAllConfiguration(const GroupSession& session, const Options& options)
{
    printSystemConfig(stdout, session.system(), session.standAlone());
    for (int address : session.addresses())
        if (!options.unit || *options.unit == address || session.standAlone())
            printDeviceConfig(stdout, address, session.device(address));
}

// Takes --count frames (default 1) with `take`, which fills a zeroed frame
// and returns what failed, or "" on success.
template <typename Take>
int takeRepeatedly(const GroupSession& session, const Options& options, const std::vector<UnitLayout>& units,
                   Take take)
{
    if (noDataUnits(units))
        return kExitFailure;
    auto writer = writerFor(options, units, false);
    const uint64_t count = options.count.value_or(1);
    for (uint64_t n = 0; n < count && !stopRequested(); ++n) {
        VornFrame frame {};
        if (const std::string failed = take(frame); !failed.empty())
            return callFailure(session, failed);
        writer->write(frame);
    }
    writer->finish();
    return stopRequested() ? kExitInterrupted : kExitOk;
}

} // namespace

int runInfo(const Options& options)
{
    GroupSession session(options);
    if (const int status = prepare(session, options); status != kExitOk)
        return status;
    printAllConfiguration(session, options);
    return kExitOk;
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
    if (const int status = prepare(session, options); status != kExitOk)
        return status;
    std::vector<UnitLayout> units;
    for (const auto& unit : session.dataUnits())
        if (!options.unit || session.standAlone() || unit.address == *options.unit)
            units.push_back(unit);
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
    if (const int status = prepare(session, options); status != kExitOk)
        return status;
    return takeRepeatedly(session, options, session.dataUnits(), [&](VornFrame& frame) {
        if (!vornStartSingleFrame(session.group()) || !vornGetFrame(session.group(), &frame))
            return std::string("taking a frame");
        return std::string();
    });
}

int runStream(const Options& options)
{
    GroupSession session(options);
    if (const int status = prepare(session, options); status != kExitOk)
        return status;
    const auto units = session.dataUnits();
    if (noDataUnits(units))
        return kExitFailure;
    auto writer = writerFor(options, units, true);
    if (!vornStartFrameStream(session.group()))
        return callFailure(session, "starting the stream");

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const bool bounded = options.count || options.durationS;
    uint64_t taken = 0, realigned = 0;
    int status = kExitOk;
    VornFrame frame {};
    while (!stopRequested()) {
        if (options.count && taken >= *options.count)
            break;
        if (options.durationS &&
            std::chrono::duration<double>(Clock::now() - start).count() >= *options.durationS)
            break;
        if (!vornGetFrame(session.group(), &frame)) {
            const int code = vornGetErrorCode();
            if (code == kPhaseErrorRealigned) {
                ++realigned;  // the stream is aligned again; the next frame is good
                continue;
            }
            if (stopRequested())
                break;
            std::fprintf(stderr, "vornctl: taking a frame failed (error code %d)\n", code);
            status = kExitFailure;
            break;
        }
        writer->write(frame);
        ++taken;
    }
    writer->finish();
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
