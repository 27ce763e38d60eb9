#include "ride_out.h"

#include "stop_request.h"

#include <algorithm>
#include <cstdio>

namespace vornctl {

BackOff::BackOff(std::chrono::milliseconds first, std::chrono::milliseconds longest) : wait_(first), longest_(longest)
{
}

std::chrono::milliseconds BackOff::next()
{
    const auto wait = std::min(wait_, longest_);
    wait_ = std::min(wait_ * 2, longest_);
    return wait;
}

namespace {

// One wake-up with everything the stream needs; false with the reason logged.
bool attempt(GroupSession& session, const Settings& settings, const std::function<void(const std::string&)>& log)
{
    if (!session.wakeUp() || !session.loadConfiguration() || !session.apply(settings))
        return false; // the session said why
    if (!vornStartFrameStream(session.group())) {
        log("the units woke up, but their stream did not start (error code " + std::to_string(vornGetErrorCode()) +
            ")");
        return false;
    }
    return true;
}

} // namespace

RideOutResult bringBack(GroupSession& session, const Settings& settings, const std::vector<UnitLayout>& units,
                        const std::function<void(const std::string&)>& log, BackOff backOff)
{
    RideOutResult result;
    session.shutDown();
    while (true) {
        const auto wait = backOff.next();
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(wait.count()) / 1000.0);
        log("waking the units up again in " + std::string(seconds) + " s (attempt " +
            std::to_string(result.attempts + 1) + ")");
        if (sleepUnlessStopped(wait))
            return result;
        ++result.attempts;
        if (attempt(session, settings, log))
            break;
        if (stopRequested())
            return result;
    }
    if (session.dataUnits() != units) {
        log("the units came back with other data formats or scaling; their frames would not fit");
        vornStopFrameStream(session.group());
        session.shutDown();
        result.outcome = Comeback::Changed;
        return result;
    }
    result.outcome = Comeback::Back;
    return result;
}

} // namespace vornctl
