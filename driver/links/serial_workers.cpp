// The RS232 workers: wake-up of a group on serial lines, and whether its
// frames come through the master in group mode.
#include "group/error_reporter.h"
#include "group/units.h"
#include "group/workers.h"
#include "links/wake_up_steps.h"
#include "transports/serial_transport.h"

namespace vorn {

namespace {

constexpr uint8_t kSensorBit = 0x04;

bool portsNamed(bool standAlone, const uint16_t* comPorts)
{
    if (standAlone && comPorts[0] == 0) {
        reportError("No comport was specified for stand-alone vorn in RS232WakeUp().");
        return false;
    }
    if (!standAlone && comPorts[1] == 0) {
        reportError("No comport was specified for master vorn in RS232WakeUp().");
        return false;
    }
    return true;
}

bool wakeUpLines(VornGroup& group, int numberOfUnits, const uint16_t* comPorts, uint32_t baudRate)
{
    auto owned = std::make_unique<SerialTransport>();
    SerialTransport& serial = *owned;
    group.transport = std::move(owned);
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit)
        if (comPorts[unit] != 0 && !serial.openLine(unit, comPorts[unit], baudRate))
            return false;
    if (!serial.reset(group))
        return false;
    if (!group.standAlone && !autoConfigure(group, serial, numberOfUnits))
        return false;
    VornSystemConfig scratch {};
    return getSystemConfig(group, scratch) != 0;
}

} // namespace

int rs232WakeUp(VornGroup& group, bool standAlone, int numberOfUnits, const uint16_t* comPorts, uint32_t baudRate,
                uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
{
    if (!portsNamed(standAlone, comPorts))
        return 0;
    prepareUnitGroup(group, ConnectionMode::Rs232, standAlone, numberOfUnits, readTimeoutMs, writeTimeoutMs);
    if (!wakeUpLines(group, numberOfUnits, comPorts, baudRate)) {
        closeTransport(group);
        return 0;
    }
    return 1;
}

bool rs232GroupModeEnabled(const VornGroup& group)
{
    if (group.groupModeSetting == GroupModeOff || group.groupModeSetting == GroupModeOn)
        return group.groupModeSetting == GroupModeOn;
    const auto* serial = dynamic_cast<const SerialTransport*>(group.transport.get());
    if (group.standAlone || serial == nullptr)
        return group.standAlone;
    // Data of a unit without a line of its own can only come through the master.
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit) {
        const VornDeviceConfig& config = group.deviceConfig[static_cast<std::size_t>(unit)];
        if (!serial->hasLine(unit) && (config.status & kSensorBit) && config.dataFormat != 0)
            return true;
    }
    return false;
}

} // namespace vorn
