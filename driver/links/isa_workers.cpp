// The ISA workers: wake-up of boards (stand-alone, vornset, PV2).
#include "group/error_reporter.h"
#include "group/units.h"
#include "group/workers.h"
#include "links/wake_up_steps.h"
#include "platform/port_io.h"
#include "transports/isa_transport.h"

#include <sys/utsname.h>

namespace vorn {

namespace {

bool addressesNamed(bool standAlone, const uint16_t* baseAddresses)
{
    if (standAlone && baseAddresses[0] == 0) {
        reportError("No address was specified for stand-alone vorn in ISAWakeUp().");
        return false;
    }
    if (!standAlone && baseAddresses[1] == 0) {
        reportError("No address was specified for master vorn in ISAWakeUp().");
        return false;
    }
    return true;
}

// The port access: the port-I/O service when one is configured, else the
// ports themselves.
std::unique_ptr<IsaTransport> openPorts()
{
    utsname system {};
    if (::uname(&system) != 0) {
        reportError("Unable to get operating system version.");
        return nullptr;
    }
    int error = 0;
    auto ports = platform::acquirePortIo(error);
    if (!ports) {
        reportError("Could not open WinRT device 0, error code %d.", error);
        return nullptr;
    }
    return std::make_unique<IsaTransport>(std::move(ports));
}

bool wakeUpBoards(VornGroup& group, int numberOfUnits, const uint16_t* baseAddresses)
{
    auto owned = openPorts();
    if (!owned)
        return false;
    IsaTransport& isa = *owned;
    group.transport = std::move(owned);
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit)
        isa.setBase(unit, baseAddresses[unit]);
    if (!isa.reset(group))
        return false;
    if (!group.standAlone && !autoConfigure(group, isa, numberOfUnits))
        return false;
    VornSystemConfig scratch {};
    return getSystemConfig(group, scratch) != 0;
}

} // namespace

int isaWakeUp(VornGroup& group, bool standAlone, int numberOfUnits, const uint16_t* baseAddresses,
              uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
{
    if (!addressesNamed(standAlone, baseAddresses))
        return 0;
    prepareUnitGroup(group, ConnectionMode::Isa, standAlone, numberOfUnits, readTimeoutMs, writeTimeoutMs);
    if (!wakeUpBoards(group, numberOfUnits, baseAddresses)) {
        closeTransport(group);
        return 0;
    }
    return 1;
}

int pv2WakeUp(VornGroup& group, uint16_t masterBaseAddress, uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
{
    // A master board and one unit behind it, reached only through it.
    group.pv2 = true;
    const uint16_t addresses[3] = {0, masterBaseAddress, 0};
    return isaWakeUp(group, false, 2, addresses, readTimeoutMs, writeTimeoutMs);
}

} // namespace vorn
