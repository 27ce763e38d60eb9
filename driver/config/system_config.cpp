// System configuration of a group through the units' command set (RS232
// now, ISA through the same link later): the master's status, revision,
// rate, addressing mode and the status byte of every unit on the bus.
#include "config/measurement_rate.h"
#include "config/tcpip_config.h"
#include "config/unit_commands.h"
#include "group/error_reporter.h"
#include "group/units.h"
#include "group/workers.h"
#include "platform/pump_wait.h"
#include "protocol/commands.h"
#include "protocol/parameters.h"
#include "protocol/unit_status.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

using protocol::Parameter;
using protocol::toByte;

constexpr uint16_t kFirstAddressModeRevision = 835; // 3.67: examine value 19 exists
constexpr uint16_t kFirstFastTransmitterRevision = 0x1500;
constexpr uint32_t kAfterCrtSyncMs = 100;
constexpr uint32_t kAfterSlowTransmitterMs = 1000;
constexpr uint32_t kAfterFastTransmitterMs = 10;
constexpr uint32_t kAfterRateMs = 100;

bool readRate(UnitCommands& master, VornSystemConfig& config)
{
    if (config.softwareRevision <= rate::kLastCountRevision) {
        uint16_t count = 0, crystal = 0;
        if (!master.examineWord(toByte(Parameter::MeasurementRateCount), "examine measurement rate count", count) ||
            !master.examineWord(toByte(Parameter::CrystalSpeed), "examine crystal speed", crystal))
            return false;
        config.crystalSpeed = crystal;
        // A crystal speed of 0 gives no rate; the stored rate stays.
        if (const auto hz = rate::rateOfCount(count, crystal))
            config.measurementRate = *hz;
        return true;
    }
    uint16_t word = 0;
    if (!master.examineWord(toByte(Parameter::MeasurementRate), "examine measurement rate", word))
        return false;
    config.measurementRate = rate::rateOfWord(word);
    return true;
}

bool readUnitStatus(VornGroup& group, UnitLink& link, VornSystemConfig& config)
{
    std::fill(std::begin(config.unitStatus), std::end(config.unitStatus), 0);
    if (group.standAlone) {
        config.unitStatus[0] = protocol::unit_status::kStandAlone;
        return true;
    }
    UnitCommands master(group, link, masterUnit(group), UnitCommands::Naming::Master);
    std::array<uint8_t, 126> answer {};
    const std::size_t length = protocol::systemStatusBytes(static_cast<uint8_t>(group.addressingMode));
    if (!master.examineBytes(toByte(Parameter::SystemStatus), "examine vornset status",
                             std::span(answer.data(), std::min(length, answer.size()))))
        return false;
    const std::size_t units = std::min<std::size_t>(config.numberOfUnits, length);
    std::copy_n(answer.begin(), units, &config.unitStatus[1]);
    return true;
}

int getOverUnitLink(VornGroup& group, UnitLink& link, VornSystemConfig& config)
{
    UnitCommands master(group, link, masterUnit(group), UnitCommands::Naming::Master);
    uint16_t status = 0;
    if (!master.examineWord(toByte(Parameter::Status), "examine vorn status", status))
        return 0;
    group.addressingMode = (status & protocol::status_word::kExpandedAddressing) ? 1 : 0;
    config.systemStatus = protocol::systemStatusOfStatusWord(status, config.systemStatus);
    if (!master.examineByte(toByte(Parameter::ErrorCode), "examine error code", config.errorCode) ||
        !master.examineRevision("examine software revision", config.softwareRevision) || !readRate(master, config))
        return 0;
    if (config.softwareRevision >= kFirstAddressModeRevision && !group.standAlone) {
        uint8_t mode = 0;
        if (!master.examineByte(toByte(Parameter::AddressingMode), "examine address mode", mode))
            return 0;
        if (mode > 2) {
            reportError("Invalid addressing mode returned by master vorn: %u.", mode);
            return 0;
        }
        group.addressingMode = mode;
    }
    if (!readUnitStatus(group, link, config))
        return 0;
    group.systemConfig = config;
    return 1;
}

uint8_t crtSyncArgument(uint8_t systemStatus)
{
    if ((systemStatus & 1) == 0)
        return 0;
    return (systemStatus & 2) ? 2 : 1;
}

int setOverUnitLink(VornGroup& group, UnitLink& link, VornSystemConfig& config)
{
    // Checked before anything is sent: the unit's formulas divide by the
    // rate and keep the result in one word.
    const auto rateWord = rate::wordForRate(config.measurementRate, config.softwareRevision, config.crystalSpeed);
    if (!rateWord) {
        if (config.softwareRevision <= rate::kLastCountRevision && config.crystalSpeed == 0)
            reportError("Illegal crystal speed specified for master vorn: 0 MHz (needed to set the measurement rate).");
        else
            reportError("Illegal measurement rate specified for master vorn: %g Hz.", config.measurementRate);
        return 0;
    }
    UnitCommands master(group, link, masterUnit(group), UnitCommands::Naming::Master);
    if (!master.command({protocol::toByte(protocol::Command::CrtSync), crtSyncArgument(config.systemStatus)},
                        "\"crt sync\" command") ||
        !platform::PumpWait::forMilliseconds(kAfterCrtSyncMs))
        return 0;
    if (group.standAlone) {
        config.transmitter = 0;
    } else if (group.pv2) {
        config.transmitter = 0x10; // unit 1, transmitter 0: the only one there is
    } else if (config.transmitter != 0) {
        if (!master.command({protocol::toByte(protocol::Command::NextTransmitter), config.transmitter},
                            "\"next transmitter\" command") ||
            !platform::PumpWait::forMilliseconds(config.softwareRevision < kFirstFastTransmitterRevision
                                                     ? kAfterSlowTransmitterMs
                                                     : kAfterFastTransmitterMs))
            return 0;
    }
    const bool byCount = config.softwareRevision <= rate::kLastCountRevision;
    if (!master.changeValue(toByte(byCount ? Parameter::MeasurementRateCount : Parameter::MeasurementRate), *rateWord,
                            byCount ? "\"change measurement rate count\" command"
                                    : "\"change measurement rate\" command") ||
        !platform::PumpWait::forMilliseconds(kAfterRateMs))
        return 0;
    group.systemConfig = config;
    return 1;
}

} // namespace

int getSystemConfig(VornGroup& group, VornSystemConfig& config)
{
    config = group.systemConfig;
    if (group.mode == ConnectionMode::TcpIp)
        return tcpipGetSystemConfig(group, config);
    UnitLink* link = unitLinkOf(group);
    return link != nullptr ? getOverUnitLink(group, *link, config) : 0;
}

int setSystemConfig(VornGroup& group, VornSystemConfig& config)
{
    if (group.mode == ConnectionMode::TcpIp)
        return tcpipSetSystemConfig(group, config);
    UnitLink* link = unitLinkOf(group);
    return link != nullptr ? setOverUnitLink(group, *link, config) : 0;
}

} // namespace vorn
