// Bringing back a group lost while it streamed (a pulled line, a controller
// that went away): vorn-igtl always does it, `vornctl record` with --ride-out.
#pragma once

#include "group_session.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vornctl {

// The waits between attempts: doubling from `first`, never longer than `longest`.
class BackOff {
public:
    explicit BackOff(std::chrono::milliseconds first = std::chrono::seconds(1),
                     std::chrono::milliseconds longest = std::chrono::seconds(30));
    std::chrono::milliseconds next();

private:
    std::chrono::milliseconds wait_;
    std::chrono::milliseconds longest_;
};

enum class Comeback { Back, Stopped, Changed };

struct RideOutResult {
    Comeback outcome = Comeback::Stopped;
    int attempts = 0;
};

// Waits, then wakes the group up again, applies `settings` and starts its
// stream; again after a longer wait while that fails, until it works or a
// stop is requested. Every attempt goes to `log`. Changed: the group came
// back, but its data units are no longer `units` (it is left shut down).
RideOutResult bringBack(GroupSession& session, const Settings& settings, const std::vector<UnitLayout>& units,
                        const std::function<void(const std::string&)>& log, BackOff backOff = BackOff());

} // namespace vornctl
