// One woken-up group (serial lines, networked controller, ISA boards or PV2) for the length of a command: wakes it up, keeps
// the configuration of every unit, applies option settings, and shuts the
// group down when it goes out of scope (also after Ctrl-C).
#pragma once

#include "measurement.h"
#include "options.h"

#include <vorn/vorn.h>

#include <array>
#include <string>
#include <vector>

namespace vornctl {

class GroupSession {
public:
    // `program` names the program in its messages on standard error.
    explicit GroupSession(const Options& options, std::string program = "vornctl");
    ~GroupSession();
    GroupSession(const GroupSession&) = delete;
    GroupSession& operator=(const GroupSession&) = delete;

    bool wakeUp();
    // Shuts the group down now, as going out of scope would (a lost group too).
    void shutDown();
    // Reads the system configuration and that of every unit; the library
    // needs the latter before it takes data.
    bool loadConfiguration();
    bool apply(const Settings& settings);
    // After Ctrl-C has cancelled a waiting call: lets the next calls wait
    // again, to stop a stream cleanly.
    void resumeAfterStop();

    int group() const { return options_.group; }
    bool standAlone() const { return options_.standAlone; }
    // Unit addresses of the group in ascending order (0 for stand-alone).
    std::vector<int> addresses() const;
    // Units that deliver data (sensor present and a data format set); only
    // the one of --unit when that was given.
    std::vector<UnitLayout> dataUnits() const;
    bool hasUnit(int address) const;
    // Of `units`, those whose records cannot come in single frames: the
    // library then takes a vornset's frame unit by unit, each on the unit's
    // own line or board, and a unit without one sends nothing.
    std::vector<int> silentInSingleFrames(const std::vector<UnitLayout>& units) const;

    const VornSystemConfig& system() const { return system_; }
    const VornDeviceConfig& device(int address) const { return devices_[address]; }

    // Reports a failed library call on stderr with the error code; returns false.
    bool failed(const std::string& what) const;
    // The error code of the last failure failed() reported (reading it resets the library's).
    int lastErrorCode() const { return lastErrorCode_; }

private:
    bool applyToUnit(int address, const Settings& settings);
    void explainFailedWakeUp() const;
    bool ownLink(int address) const;
    bool framesUnitByUnit() const;
    bool wakeUpRs232();
    bool wakeUpIsa();

    Options options_;
    std::string program_;
    bool awake_ = false;
    mutable int lastErrorCode_ = 0;
    VornSystemConfig system_ {};
    std::array<VornDeviceConfig, VORN_UNIT_COUNT> devices_ {};
};

} // namespace vornctl
