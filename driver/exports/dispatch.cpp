#include "exports/dispatch.h"

#include "exports/frame_ready_timer.h"
#include "exports/group_table.h"
#include "group/error_reporter.h"
#include "group/transport.h"
#include "group/workers.h"
#include "platform/timer_resolution.h"

namespace vorn {
namespace {

constexpr int kHighestUnit = VORN_UNIT_COUNT - 1;

bool inUnitRange(int unit)
{
    return unit >= 0 && unit <= kHighestUnit;
}

// Requests the 1 ms resolution and makes sure the frame-ready timer runs;
// the request is given back if the timer cannot start.
bool acquireTimers(const char* name)
{
    if (!platform::requestMillisecondResolution()) {
        reportError("Cannot set minimum time resolution to 1ms in %s().", name);
        return false;
    }
    if (!frameReadyTimer::ensureRunning()) {
        platform::releaseMillisecondResolution();
        return false;
    }
    return true;
}

// A check on a group's state: the condition that refuses and its message.
struct StateRule {
    bool (*refuses)(VornGroup&);
    const char* message; // %s is the export's name
};

bool inMode(const VornGroup& g, ConnectionMode mode)
{
    return g.mode == mode;
}

StateRule stateRule(Check check)
{
    switch (check) {
    case Check::NotWoken:
        return {[](VornGroup& g) { return g.mode != ConnectionMode::None; },
                "Illegal call to %s() after vorns are already woken up."};
    case Check::Woken:
        return {[](VornGroup& g) { return g.mode == ConnectionMode::None; },
                "Illegal call to %s() before vorns are woken up."};
    case Check::NotStreaming:
        return {[](VornGroup& g) { return g.streaming; }, "Illegal call to %s() while streaming data."};
    case Check::Streaming:
        return {[](VornGroup& g) { return !g.streaming; }, "Illegal call to %s() while not streaming data."};
    case Check::NotReporting:
        return {[](VornGroup& g) { return g.reportingCycles; },
                "Illegal call to %s() while reporting measurement cycles."};
    case Check::Reporting:
        return {[](VornGroup& g) { return !g.reportingCycles; },
                "Illegal call to %s() while not reporting measurement cycles."};
    case Check::AnyMode:
        return {[](VornGroup& g) { return g.mode == ConnectionMode::None; },
                "Illegal call to %s() while not in TCP/IP, RS232 or ISA mode."};
    case Check::SerialOrIsa:
        return {[](VornGroup& g) { return !inMode(g, ConnectionMode::Rs232) && !inMode(g, ConnectionMode::Isa); },
                "Illegal call to %s() while not in RS232 or ISA mode."};
    case Check::TcpIpMode:
        return {[](VornGroup& g) { return !inMode(g, ConnectionMode::TcpIp); },
                "Illegal call to %s() while not in TCP/IP mode."};
    case Check::Rs232Mode:
        return {[](VornGroup& g) { return !inMode(g, ConnectionMode::Rs232); },
                "Illegal call to %s() while not in RS232 mode."};
    case Check::IsaMode:
        return {[](VornGroup& g) { return !inMode(g, ConnectionMode::Isa); },
                "Illegal call to %s() while not in ISA mode."};
    case Check::NotFirmware1x:
        return {[](VornGroup& g) {
                    return inMode(g, ConnectionMode::TcpIp) && (g.systemConfig.softwareRevision >> 8) == 1;
                },
                "Illegal call to %s() while communicating with version 1.x Velmorasta software."};
    case Check::NotMultiVornIsa:
        return {[](VornGroup& g) { return inMode(g, ConnectionMode::Isa) && !g.standAlone && !g.pv2; },
                "Illegal call to %s() while in multi-vorn ISA mode."};
    case Check::NoGroupMode:
        return {[](VornGroup& g) { return inMode(g, ConnectionMode::Rs232) && rs232GroupModeEnabled(g); },
                "Illegal call to %s() while group mode is enabled."};
    default: return {nullptr, nullptr};
    }
}

bool passesStateCheck(Check check, VornGroup& group, const char* name)
{
    const StateRule state = stateRule(check);
    if (state.refuses == nullptr || !state.refuses(group))
        return true;
    reportError(state.message, name);
    return false;
}

// Argument checks: true when the argument is usable.
bool passesArgumentCheck(Check check, const CallArguments& a, const char* name)
{
    const char* nullWhat = nullptr;
    switch (check) {
    case Check::Unit:
        if (inUnitRange(a.unit))
            return true;
        reportError("Illegal unit address %d passed to %s().", a.unit, name);
        return false;
    case Check::UnitCount:
        if (a.standAlone || (a.numberOfUnits >= 1 && a.numberOfUnits <= kHighestUnit))
            return true;
        reportError("Illegal number of units %d passed to %s().", a.numberOfUnits, name);
        return false;
    case Check::ControllerUnits:
        if (a.numberOfUnits >= 0 && a.numberOfUnits <= kHighestUnit)
            return true;
        reportError("Illegal number of units %d passed to %s().", a.numberOfUnits, name);
        return false;
    case Check::Buffer:
        if (a.pointer != nullptr || a.count == 0)
            return true;
        nullWhat = "buffer";
        break;
    case Check::Record: nullWhat = "record pointer"; break;
    case Check::Callback: nullWhat = "callback"; break;
    case Check::ServerAddress: nullWhat = "server address"; break;
    case Check::ComPorts: nullWhat = "COM port array"; break;
    case Check::BaseAddresses: nullWhat = "base address array"; break;
    default: return true;
    }
    if (a.pointer != nullptr)
        return true;
    reportError("Null %s passed to %s().", nullWhat, name);
    return false;
}

} // namespace

bool passesChecks(Export id, int group, const CallArguments& arguments, std::shared_ptr<VornGroup>& record)
{
    const ExportRule& r = rule(id);
    for (Check check : r.checks) {
        switch (check) {
        case Check::None: return true;
        case Check::Range:
            if (!groups::validId(group)) {
                reportError("Illegal group ID passed to %s().", r.name);
                return false;
            }
            break;
        case Check::SlotFree:
            if (groups::find(group)) {
                reportError("Group ID passed to %s() is already in use.", r.name);
                return false;
            }
            break;
        case Check::SlotUsed:
            record = groups::find(group);
            if (!record) {
                reportError("Group ID passed to %s() is not in use.", r.name);
                return false;
            }
            break;
        case Check::Timer:
            if (!acquireTimers(r.name))
                return false;
            groups::create(group);
            record = groups::find(group);
            break;
        default:
            if (!passesArgumentCheck(check, arguments, r.name))
                return false;
            if (record && !passesStateCheck(check, *record, r.name))
                return false;
        }
    }
    return true;
}

bool passesStateChecks(Export id, VornGroup& group)
{
    const ExportRule& r = rule(id);
    for (Check check : r.checks)
        if (!passesStateCheck(check, group, r.name))
            return false;
    return true;
}

void shutDownIfStill(int id, const std::shared_ptr<VornGroup>& record)
{
    if (groups::find(id) == record)
        shutDown(id);
}

void shutDown(int id)
{
    std::shared_ptr<VornGroup> record = groups::find(id);
    if (!record)
        return;
    platform::releaseMillisecondResolution();
    closeTransport(*record);
    groups::release(id);
    frameReadyTimer::stopIfIdle();
}

} // namespace vorn
