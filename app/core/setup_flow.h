// The setup commands: ask how the units are connected, wake the group up,
// read its configuration into a new CVornGroup and prepare what the other
// commands need per unit. Dialogs, message boxes and the wait are reached
// through interfaces, so the decisions run and are tested without a screen.
#pragma once

#include "core/messages.h"
#include "core/setup_values.h"
#include "core/vorn_group.h"

#include <functional>
#include <memory>

namespace vornscope {

class SetupPrompter {
public:
    virtual ~SetupPrompter() = default;
    // Each returns false when the operator cancels.
    virtual bool askRs232(Rs232SetupValues& values) = 0;
    virtual bool askIsa(IsaSetupValues& values) = 0;
    virtual bool askTcpip(TcpipSetupValues& values) = 0;
    virtual bool askUnit(const UnitDialogLook& look, UnitEntry& entry) = 0;
    // A status line of the view at (5, 5).
    virtual void showStatus(const char* text) = 0;
    // Around the library calls of one wake-up (they wait about 5.6 s).
    virtual void beginWait() {}
    virtual void endWait() {}
    // True when the operator gave up waiting during the last wake-up.
    virtual bool waitCancelled() { return false; }
};

struct SetupResult {
    // The group the document keeps (the last one woken, failed or not);
    // null when no wake-up was attempted.
    std::unique_ptr<CVornGroup> group;
    bool attempted = false; // the old group was shut down
    bool setUp = false;
    bool showComplete = false;
    int distortionSensor = 0;
};

class SetupFlow {
public:
    SetupFlow(VornLibrary& library, SetupPrompter& prompter, MessageSink& messages, int groupId)
        : library_(library), prompter_(prompter), messages_(messages), groupId_(groupId)
    {
    }

    SetupResult runRs232();
    SetupResult runIsa();
    SetupResult runTcpip(std::string& rememberedServer);

    // Step 7 and the distortion records: what the program derives per unit
    // after the configuration has been read.
    static void deriveUnitInfo(VornLibrary& library, CVornGroup& group);

private:
    // Wakes the group; false when it failed.
    using Wake = std::function<bool(CVornGroup&, const WakeTable&)>;

    bool askUnits(Transport link, int deviceCount, std::vector<UnitEntry>& entries);
    SetupResult loop(Transport link, const std::function<bool()>& askMain, const std::function<int()>& deviceCount,
                     const Wake& wake);
    bool readConfiguration(CVornGroup& group, bool fast, bool countFromSystem);
    void switchToPv2(CVornGroup& group, std::uint16_t base, std::uint32_t readTimeout, std::uint32_t writeTimeout);
    void coolDownSlaveTransmitters(CVornGroup& group);

    VornLibrary& library_;
    SetupPrompter& prompter_;
    MessageSink& messages_;
    int groupId_;
};

} // namespace vornscope
