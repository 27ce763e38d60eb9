// vornctl record FILE: a stream kept in a file with its context.
#include "com_port.h"
#include "commands.h"
#include "exit_codes.h"
#include "group_session.h"
#include "library_messages.h"
#include "record_file.h"
#include "record_status.h"
#include "record_writer.h"
#include "ride_out.h"
#include "stop_request.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace vornctl {

namespace {

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// --output wins (a table is refused with the options); else the extension:
// .json and .jsonl are JSON lines, anything else CSV.
OutputFormat recordFormat(const Options& options)
{
    if (options.output != OutputFormat::Auto)
        return options.output;
    return endsWith(options.operand, ".json") || endsWith(options.operand, ".jsonl") ? OutputFormat::Json
                                                                                     : OutputFormat::Csv;
}

std::string serialLink(const Options& options)
{
    std::string text = "serial at " + std::to_string(options.baud) + " baud";
    const int first = options.standAlone ? 0 : 1;
    for (std::size_t i = 0; i < options.ports.size(); ++i) {
        const int address = first + static_cast<int>(i);
        const unsigned port = options.ports[i];
        text += ", unit " + std::to_string(address) +
                (port == 0 ? " through the master" : " on COM" + std::to_string(port) + " (" + comPortPath(port) + ")");
    }
    return text + (options.standAlone ? ", stand-alone" : "");
}

std::string hexList(const std::vector<uint16_t>& bases)
{
    std::string text;
    for (uint16_t base : bases) {
        char item[8];
        std::snprintf(item, sizeof item, "0x%X", base);
        text += (text.empty() ? "" : ",") + std::string(item);
    }
    return text;
}

std::string linkText(const Options& options)
{
    switch (options.connection) {
    case Connection::Tcpip: return "networked controller " + options.server + ":" + std::to_string(options.serverPort);
    case Connection::Isa: return "ISA boards " + hexList(options.bases) + (options.standAlone ? ", stand-alone" : "");
    case Connection::Pv2: return "PV2 master board " + hexList(options.bases);
    case Connection::Rs232: break;
    }
    return serialLink(options);
}

RecordContext contextOf(const GroupSession& session, const Options& options, double startedUnixS)
{
    RecordContext context;
    context.startedUtc = utcText(startedUnixS);
    context.link = linkText(options);
    context.measurementRateHz = session.system().measurementRate;
    for (const auto& layout : session.dataUnits()) {
        const VornDeviceConfig& device = session.device(layout.address);
        context.units.push_back({layout, device.hemisphere, std::max<uint8_t>(device.reportRate, 1)});
    }
    return context;
}

// While the status line is drawn, the library's messages clear it first instead of running on after
// its last character.
class LibraryMessagesOnOwnLine {
public:
    explicit LibraryMessagesOnOwnLine(RecordStatus& status)
    {
        showLibraryMessages([&status](const std::string& text) { status.note(text); });
    }
    ~LibraryMessagesOnOwnLine() { showLibraryMessages(); }
    LibraryMessagesOnOwnLine(const LibraryMessagesOnOwnLine&) = delete;
    LibraryMessagesOnOwnLine& operator=(const LibraryMessagesOnOwnLine&) = delete;
};

struct Recording {
    RecordFile& file;
    const RecordWriter& writer;
    RecordStatus& status;
    std::vector<UnitLayout> units;
    bool streaming = true; // false while a lost group is away
    double lastTimeS = 0;  // the last frame's own time stamp
};

int stoppedStatus(const Options& options)
{
    return options.count || options.durationS ? kExitInterrupted : kExitOk;
}

// The group was lost with `code`: notes the gap in the file and wakes the
// group up again until it is back. Nullopt when recording goes on, else the
// exit status.
std::optional<int> rideOut(GroupSession& session, const Options& options, Recording& recording, int code)
{
    recording.streaming = false;
    recording.status.gap();
    recording.status.note("vornctl: the units were lost (error code " + std::to_string(code) + ")");
    if (!recording.file.append(recording.writer.gapLost(recording.lastTimeS, hostUnixSeconds(), code)))
        return kExitFailure;
    const auto log = [&](const std::string& text) { recording.status.note("vornctl: " + text); };
    const RideOutResult result = bringBack(session, options.settings, recording.units, log);
    if (result.outcome == Comeback::Stopped)
        return stoppedStatus(options);
    if (result.outcome == Comeback::Changed)
        return kExitFailure;
    recording.streaming = true;
    recording.status.note("vornctl: the units are back after " + std::to_string(result.attempts) +
                          " wake-up attempt(s); recording goes on");
    if (!recording.file.append(recording.writer.gapBack(hostUnixSeconds(), result.attempts)))
        return kExitFailure;
    return std::nullopt;
}

// Streams frames into the file until --count, --duration, Ctrl-C, a failed
// call or a failed write; returns the exit status.
int streamInto(GroupSession& session, const Options& options, Recording& recording)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    VornFrame frame {};
    while (!stopRequested()) {
        if (options.count && recording.status.frames() >= *options.count)
            return kExitOk;
        if (options.durationS && std::chrono::duration<double>(Clock::now() - start).count() >= *options.durationS)
            return kExitOk;
        if (!vornGetFrame(session.group(), &frame)) {
            const int code = vornGetErrorCode();
            if (code == VORN_ERR_PHASE)
                continue; // realigned; counted as lost by the gap it leaves
            if (stopRequested())
                break;
            if (options.rideOut) {
                if (const auto status = rideOut(session, options, recording, code))
                    return *status;
                continue;
            }
            std::fprintf(stderr, "\nvornctl: taking a frame failed (error code %d)\n", code);
            return kExitFailure;
        }
        const double host = hostUnixSeconds();
        if (!recording.file.append(recording.writer.frame(frame, host)))
            return kExitFailure;
        recording.lastTimeS = frame.time * 0.001;
        recording.status.frame(frame.time);
        recording.status.update();
    }
    return stoppedStatus(options);
}

int reportWriteError(const RecordFile& file, const RecordStatus& status)
{
    if (status.frames() == 0)
        std::fprintf(stderr, "vornctl: %s; nothing was recorded\n", file.error().c_str());
    else
        std::fprintf(stderr, "vornctl: %s; recording stopped, the %llu frame(s) before it are kept in %s\n",
                     file.error().c_str(), static_cast<unsigned long long>(status.frames()),
                     file.writtenPath().c_str());
    return kExitFailure;
}

} // namespace

int runRecord(const Options& options)
{
    const OutputFormat format = recordFormat(options);
    // A file size limit is a full disk to the recording, not a reason to die.
    std::signal(SIGXFSZ, SIG_IGN);
    // Before the six seconds of a wake-up: a file that cannot be written.
    std::string error;
    auto file = RecordFile::open(options.operand, error);
    if (!file) {
        std::fprintf(stderr, "vornctl: %s\n", error.c_str());
        return kExitFailure;
    }
    GroupSession session(options);
    if (const int status = prepareGroup(session, options); status != kExitOk) {
        file->discard();
        return status;
    }
    const RecordContext context = contextOf(session, options, hostUnixSeconds());
    if (context.units.empty()) {
        file->discard();
        std::fprintf(stderr, "vornctl: no unit delivers data (no sensor, or data format none; try --format)\n");
        return kExitFailure;
    }
    const RecordWriter writer(format, context);
    RecordStatus status(!options.quiet && isatty(STDERR_FILENO) ? stderr : nullptr, framePeriodS(context));
    const LibraryMessagesOnOwnLine ownLines(status);
    if (!file->append(writer.header()))
        return reportWriteError(*file, status);
    if (!vornStartFrameStream(session.group())) {
        session.failed("starting the stream");
        return stopRequested() ? kExitInterrupted : kExitFailure;
    }
    Recording recording {*file, writer, status, session.dataUnits()};
    int result = streamInto(session, options, recording);
    status.finish();
    if (stopRequested())
        session.resumeAfterStop();
    if (recording.streaming && !vornStopFrameStream(session.group()) && result == kExitOk)
        result = session.failed("stopping the stream") ? kExitOk : kExitFailure;
    if (!file->close() || !file->error().empty())
        return reportWriteError(*file, status);
    if (!options.quiet)
        std::fprintf(stderr, "vornctl: recorded %s to %s\n", status.summary().c_str(), file->writtenPath().c_str());
    return result;
}

} // namespace vornctl
