#include "tracker_stream.h"

#include "exit_codes.h"
#include "frame_encoder.h"
#include "group_session.h"
#include "library_messages.h"
#include "ride_out.h"
#include "server_log.h"
#include "stop_request.h"
#include "wall_clock_map.h"

#include <vorn/vorn_host.h>

#include <chrono>
#include <mutex>
#include <optional>
#include <utility>

namespace vornigtl {

namespace {

// The library's messages go to the log; the last one also explains a failure to clients.
std::mutex gMessageMutex;
std::string gLastMessage;

void onLibraryMessage(const std::string& message)
{
    logError("library: " + message);
    const std::lock_guard lock(gMessageMutex);
    gLastMessage = message;
}

std::string takeLastMessage()
{
    const std::lock_guard lock(gMessageMutex);
    return std::exchange(gLastMessage, {});
}

// What went wrong with the library's error code and its last message.
std::string failureText(const std::string& what, int libraryCode)
{
    std::string text = what + " (error code " + std::to_string(libraryCode) + ")";
    if (const std::string message = takeLastMessage(); !message.empty())
        text += ": " + message;
    return text;
}

// Logs a failure with the library's error code and tells every client; returns `exitCode`.
int fail(IgtlServer& server, StatusCode code, const std::string& what, int libraryCode, int exitCode)
{
    const std::string text = failureText(what + " failed", libraryCode);
    logError(text);
    server.announce(code, "VornError", text);
    return exitCode;
}

std::string namesOf(const FrameEncoder& encoder)
{
    std::string names;
    for (const auto& name : encoder.deviceNames())
        names += (names.empty() ? "" : ", ") + name;
    return names;
}

class Acquisition {
public:
    Acquisition(const vornctl::Options& options, IgtlServer& server, vornctl::GroupSession& session)
        : options_(options), server_(server), session_(session)
    {
    }

    int run()
    {
        const auto units = session_.dataUnits();
        if (units.empty()) {
            const std::string text = "no unit delivers data (no sensor, or data format none; try --format)";
            logError(text);
            server_.announce(StatusCode::ConfigError, "NoData", text);
            return vornctl::kExitFailure;
        }
        units_ = units;
        FrameEncoder encoder(units);
        bytes_.resize(encoder.frameSize());
        if (!vornStartFrameStream(session_.group()))
            return fail(server_, StatusCode::HardwareFailure, "starting the stream", vornGetErrorCode(),
                        vornctl::kExitFailure);
        names_ = namesOf(encoder);
        logLine("streaming " + names_);
        server_.announce(StatusCode::Ok, "", "streaming " + names_);
        const int status = loop(encoder);
        if (vornctl::stopRequested())
            session_.resumeAfterStop();
        if (streaming_ && !vornStopFrameStream(session_.group()) && status == vornctl::kExitOk)
            return fail(server_, StatusCode::HardwareFailure, "stopping the stream", vornGetErrorCode(),
                        vornctl::kExitFailure);
        logLine(std::to_string(frames_) + " frame(s) sent, " + std::to_string(realigned_) +
                " dropped by a phase error");
        return status;
    }

private:
    bool finished() const
    {
        if (vornctl::stopRequested() || (options_.count && frames_ >= *options_.count))
            return true;
        using namespace std::chrono;
        return options_.durationS && duration<double>(steady_clock::now() - start_).count() >= *options_.durationS;
    }

    int loop(const FrameEncoder& encoder)
    {
        WallClockMap wallClock; // one per session: the offset is fixed by its first frame
        VornFrame frame {};
        while (!finished()) {
            if (!vornGetFrame(session_.group(), &frame)) {
                if (vornctl::stopRequested())
                    break;
                const int code = vornGetErrorCode(); // reading it resets it
                if (code == VORN_ERR_PHASE) {
                    ++realigned_; // aligned again: the next frame is good
                    continue;
                }
                if (const auto status = rideOut(code))
                    return *status;
                continue;
            }
            encoder.encode(frame, wallClock.timestampOf(frame.time), bytes_.data());
            server_.publish(bytes_.data(), bytes_.size());
            ++frames_;
        }
        return vornctl::kExitOk;
    }

    // The group was lost (a pulled line, a controller gone): clients stay
    // connected and hear it, and the group is woken up again until it is
    // back. Nullopt when the stream goes on, else the exit status.
    std::optional<int> rideOut(int code)
    {
        streaming_ = false;
        const std::string text = failureText("the units were lost; waking them up again", code);
        logError(text);
        server_.announce(StatusCode::HardwareFailure, "UnitLost", text);
        const auto result = vornctl::bringBack(session_, options_.settings, units_, &logLine);
        if (result.outcome == vornctl::Comeback::Stopped)
            return vornctl::kExitOk;
        if (result.outcome == vornctl::Comeback::Changed) {
            const std::string changed = "the units came back with other data formats; the server stops";
            server_.announce(StatusCode::ConfigError, "UnitChanged", changed);
            return vornctl::kExitFailure;
        }
        streaming_ = true;
        const std::string back =
            "streaming " + names_ + " again after " + std::to_string(result.attempts) + " wake-up attempt(s)";
        logLine(back);
        server_.announce(StatusCode::Ok, "", back);
        return std::nullopt;
    }

    const vornctl::Options& options_;
    IgtlServer& server_;
    vornctl::GroupSession& session_;
    std::vector<vornctl::UnitLayout> units_;
    std::string names_;
    bool streaming_ = true; // false while a lost group is away
    std::vector<uint8_t> bytes_;
    uint64_t frames_ = 0;
    uint64_t realigned_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace

int streamToClients(const vornctl::Options& options, IgtlServer& server)
{
    vornctl::showLibraryMessages(&onLibraryMessage);
    int status = vornctl::kExitOk;
    {
        vornctl::GroupSession session(options, "vorn-igtl");
        server.announce(StatusCode::NotReady, "WakingUp", "waking up the units");
        if (!session.wakeUp())
            status = vornctl::stopRequested() ? vornctl::kExitOk
                                              : fail(server, StatusCode::NotFound, "waking up the units",
                                                     session.lastErrorCode(), vornctl::kExitNoGroup);
        else if (!session.loadConfiguration() || !session.apply(options.settings))
            status = vornctl::stopRequested() ? vornctl::kExitOk
                                              : fail(server, StatusCode::ConfigError, "configuring the units",
                                                     session.lastErrorCode(), vornctl::kExitFailure);
        else
            status = Acquisition(options, server, session).run();
    } // the session shuts the group down here
    server.announce(StatusCode::ShutDown, "ShutDown", "the tracker server stops");
    vornHostSetMessageHandler(nullptr, nullptr);
    return status;
}

} // namespace vornigtl
