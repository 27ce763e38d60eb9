// One link of the soak: a simulated unit behind it, how the library wakes it, and the faults the
// simulator can commit on it. The soak run drives every link the same way through this.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vorn::soak {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// One injected fault: what it was, and whether the group must be woken again afterwards
// (the line was pulled, the controller hung up).
struct Fault {
    std::string kind;
    bool needsWakeUp = false;
    Clock::time_point over {}; // the fault's effect ends by then (a stall, a closed line)
};

class SoakLink {
public:
    virtual ~SoakLink() = default;

    virtual std::string name() const = 0;
    // Starts the simulated unit(s); throws when it cannot.
    virtual void start() = 0;
    virtual void stop() = 0;
    // Wakes the group, reads the unit configurations and starts the stream; false on failure.
    virtual bool wakeAndStream(int group) = 0;
    // The addresses whose readings make up a frame.
    virtual std::vector<uint8_t> addresses() const = 0;
    // The codes a failed frame call may carry on this link.
    virtual std::set<int> frameErrorCodes() const = 0;
    // The longest a frame call may take: its time-out, for every record it reads.
    virtual Milliseconds frameCallLimit() const = 0;
    virtual Fault injectFault(std::mt19937& random) = 0;
    // Takes back faults that hold until cleared.
    virtual void clearFaults() = 0;
};

// After a wake-up: reads each unit's configuration (so the library knows its records) and starts
// the stream.
bool readConfigurationsAndStream(int group, const std::vector<uint8_t>& addresses);

// "rs232-group", "rs232-standalone", "tcpip", "isa", "pv2"; nullptr for another name.
std::unique_ptr<SoakLink> makeLink(const std::string& name);
std::vector<std::string> linkNames();

} // namespace vorn::soak
