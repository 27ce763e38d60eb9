#include "group_session.h"

#include "link_diagnosis.h"
#include "stop_request.h"

#include <vorn/vorn_host.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vornctl {

namespace {

// Whether a Ctrl-C still cancels the library's waits; not while the stream
// is being stopped cleanly.
bool gCancelWaits = true;

// Runs inside the library's waits: a Ctrl-C makes the waiting call give up.
void stopWaitingOnRequest(void*)
{
    static bool posted = false;
    if (gCancelWaits && stopRequested() && !posted) {
        posted = true;
        vornHostPostQuit(vornHostThreadToken());
    }
}

} // namespace

GroupSession::GroupSession(const Options& options, std::string program)
    : options_(options), program_(std::move(program))
{
    vornHostSetPumpHook(&stopWaitingOnRequest, nullptr);
}

GroupSession::~GroupSession()
{
    if (awake_)
        vornShutDown(options_.group);
    vornHostSetPumpHook(nullptr, nullptr);
}

void GroupSession::shutDown()
{
    vornShutDown(options_.group);
    awake_ = false;
}

void GroupSession::resumeAfterStop()
{
    gCancelWaits = false;
    vornHostTakeQuit();
}

bool GroupSession::failed(const std::string& what) const
{
    if (stopRequested())
        return false; // cancelled by the user, not a failure to report
    lastErrorCode_ = vornGetErrorCode();
    std::fprintf(stderr, "%s: %s failed (error code %d)\n", program_.c_str(), what.c_str(), lastErrorCode_);
    return false;
}

bool GroupSession::wakeUpRs232()
{
    // Port array indexed by unit address: entry 0 for a stand-alone unit,
    // entries 1..N for a vornset.
    std::array<uint16_t, VORN_UNIT_COUNT> ports {};
    const std::size_t first = options_.standAlone ? 0 : 1;
    for (std::size_t i = 0; i < options_.ports.size() && first + i < ports.size(); ++i)
        ports[first + i] = options_.ports[i];
    if (!options_.quiet)
        std::fprintf(stderr, "%s: waking up %d unit(s) on COM%u at %u baud (takes about 6 s)...\n", program_.c_str(),
                     options_.unitCount(), options_.ports.front(), options_.baud);
    // The library opens COM<n> as $VORN_COM<n>: device paths given as ports go there.
    for (const auto& portPath : options_.portPaths)
        setenv(("VORN_COM" + std::to_string(portPath.number)).c_str(), portPath.path.c_str(), 1);
    if (vornRS232WakeUp(options_.group, options_.standAlone ? 1 : 0, options_.unitCount(), ports.data(), options_.baud,
                        options_.readTimeoutMs, options_.writeTimeoutMs))
        return true;
    if (!stopRequested())
        for (uint16_t port : options_.ports)
            if (port != 0)
                explainSerialPort(program_, port);
    return false;
}

bool GroupSession::wakeUpIsa()
{
    std::array<uint16_t, VORN_UNIT_COUNT> bases {};
    const std::size_t first = options_.standAlone ? 0 : 1;
    for (std::size_t i = 0; i < options_.bases.size() && first + i < bases.size(); ++i)
        bases[first + i] = options_.bases[i];
    if (!options_.quiet)
        std::fprintf(stderr, "%s: waking up %d unit(s) on the ISA board at 0x%04X (takes about 6 s)...\n",
                     program_.c_str(), options_.unitCount(), options_.bases.front());
    return vornISAWakeUp(options_.group, options_.standAlone ? 1 : 0, options_.unitCount(), bases.data(),
                         options_.readTimeoutMs, options_.writeTimeoutMs) != 0;
}

void GroupSession::explainFailedWakeUp() const
{
    switch (options_.connection) {
    case Connection::Rs232: break; // explained port by port in wakeUpRs232
    case Connection::Isa:
    case Connection::Pv2:
        if (!explainPortAccess(program_))
            explainSilentBoard(program_, options_.bases.front());
        break;
    case Connection::Tcpip: explainHost(program_, options_.server); break;
    }
}

bool GroupSession::wakeUp()
{
    vornShutDown(options_.group);
    bool woken = false;
    switch (options_.connection) {
    case Connection::Rs232: woken = wakeUpRs232(); break;
    case Connection::Isa: woken = wakeUpIsa(); break;
    case Connection::Pv2:
        if (!options_.quiet)
            std::fprintf(stderr, "%s: waking up the PV2 master board at 0x%04X (takes about 6 s)...\n",
                         program_.c_str(), options_.bases.front());
        woken =
            vornPV2WakeUp(options_.group, options_.bases.front(), options_.readTimeoutMs, options_.writeTimeoutMs) != 0;
        break;
    case Connection::Tcpip:
        if (!options_.quiet)
            std::fprintf(stderr, "%s: connecting to the controller at %s port %u...\n", program_.c_str(),
                         options_.server.c_str(), options_.serverPort);
        woken = vornTCPIPWakeUp(options_.group, options_.server.c_str(), options_.serverPort, options_.units) != 0;
        break;
    }
    if (!woken) {
        if (!stopRequested())
            explainFailedWakeUp();
        return failed("wake-up");
    }
    awake_ = true;
    if (options_.connection == Connection::Rs232)
        vornRS232SetGroupMode(options_.group, options_.groupMode);
    return true;
}

std::vector<int> GroupSession::addresses() const
{
    if (options_.standAlone)
        return {0};
    std::vector<int> list;
    // A controller asked for "all its units" says how many it has.
    const int count = options_.unitCount() > 0 ? options_.unitCount() : system_.numberOfUnits;
    for (int address = 1; address <= count; ++address)
        list.push_back(address);
    return list;
}

bool GroupSession::loadConfiguration()
{
    if (!vornGetSystemConfig(options_.group, &system_))
        return failed("reading the system configuration");
    for (int address : addresses())
        if (!vornGetDeviceConfig(options_.group, address, &devices_[address]))
            return failed("reading the configuration of unit " + std::to_string(address));
    return true;
}

bool GroupSession::applyToUnit(int address, const Settings& settings)
{
    VornDeviceConfig config = devices_[address];
    if (settings.dataFormat)
        config.dataFormat = *settings.dataFormat;
    if (settings.hemisphere)
        config.hemisphere = *settings.hemisphere;
    if (settings.filters)
        config.setup = static_cast<uint8_t>((config.setup & ~7u) | *settings.filters);
    if (settings.scaling)
        config.scaling = *settings.scaling;
    if (settings.reportRate)
        config.reportRate = *settings.reportRate;
    if (settings.button)
        config.setup = static_cast<uint8_t>(*settings.button ? (config.setup | 8u) : (config.setup & ~8u));
    if (!vornSetDeviceConfig(options_.group, address, &config))
        return failed("setting the configuration of unit " + std::to_string(address));
    devices_[address] = config;
    return true;
}

bool GroupSession::apply(const Settings& settings)
{
    if (settings.measurementRate) {
        VornSystemConfig config = system_;
        config.measurementRate = *settings.measurementRate;
        if (!vornSetSystemConfig(options_.group, &config))
            return failed("setting the measurement rate");
        system_ = config;
    }
    if (!settings.touchesUnits())
        return true;
    for (int address : addresses()) {
        if (options_.unit && *options_.unit != address && !options_.standAlone)
            continue;
        if (!applyToUnit(address, settings))
            return false;
    }
    return true;
}

bool GroupSession::hasUnit(int address) const
{
    const auto all = addresses();
    return std::find(all.begin(), all.end(), address) != all.end();
}

std::vector<UnitLayout> GroupSession::dataUnits() const
{
    std::vector<UnitLayout> units;
    for (int address : addresses()) {
        const VornDeviceConfig& config = devices_[address];
        if ((config.status & 0x04) == 0 || config.dataFormat == 0)
            continue;
        if (options_.unit && !options_.standAlone && *options_.unit != address)
            continue;
        units.push_back({address, config.dataFormat, config.scaling, (config.setup & 0x08) != 0});
    }
    return units;
}

bool GroupSession::ownLink(int address) const
{
    const auto& links = options_.connection == Connection::Rs232 ? options_.ports : options_.bases;
    const auto index = static_cast<std::size_t>(address - 1);
    return options_.standAlone || (index < links.size() && links[index] != 0);
}

bool GroupSession::framesUnitByUnit() const
{
    if (options_.standAlone)
        return false;
    switch (options_.connection) {
    case Connection::Rs232: return vornRS232GroupModeEnabled(options_.group) == 0;
    case Connection::Isa: return true;
    case Connection::Pv2:
    case Connection::Tcpip: break;
    }
    return false;
}

std::vector<int> GroupSession::silentInSingleFrames(const std::vector<UnitLayout>& units) const
{
    std::vector<int> silent;
    if (framesUnitByUnit())
        for (const auto& unit : units)
            if (!ownLink(unit.address))
                silent.push_back(unit.address);
    return silent;
}

} // namespace vornctl
