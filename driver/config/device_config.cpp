// Configuration of one unit through the units' command set. The normal
// forms read or write every field a unit knows; the fast forms only what a
// caller needs to take data. Extended-range units keep their filters.
#include "config/tcpip_config.h"
#include "config/unit_commands.h"
#include "group/error_reporter.h"
#include "group/workers.h"
#include "platform/pump_wait.h"
#include "protocol/commands.h"
#include "protocol/data_format.h"
#include "protocol/hemisphere.h"
#include "protocol/parameters.h"
#include "protocol/report_rate.h"
#include "protocol/unit_status.h"

#include <array>

namespace vorn {

namespace {

using protocol::Parameter;
using protocol::toByte;

constexpr uint32_t kAfterCommandMs = 10;
constexpr uint8_t kButtonBit = 0x08;
constexpr uint8_t kFilterBits = 0x07;

enum class Depth { Normal, Fast };

struct UnitFacts {
    uint8_t statusByte; // the unit's entry of the vornset status
    bool extendedRangeUnit;
    bool extendedRangeSystem;
};

UnitFacts factsOf(const VornGroup& group, int unit)
{
    UnitFacts facts {group.systemConfig.unitStatus[unit], false, false};
    if (group.standAlone)
        return facts; // a unit on its own is never extended-range
    facts.extendedRangeUnit = protocol::isExtendedRangeUnit(facts.statusByte);
    for (int u = 1; u <= group.systemConfig.numberOfUnits && u < VORN_UNIT_COUNT; ++u)
        facts.extendedRangeSystem |= protocol::isExtendedRangeUnit(group.systemConfig.unitStatus[u]);
    return facts;
}

uint16_t scalingOfAnswer(uint16_t answer, uint16_t stored)
{
    switch (answer & 0xFF) {
    case 0: return 36;
    case 1: return 72;
    default: return stored;
    }
}

bool readSetup(UnitCommands& unit, VornDeviceConfig& config)
{
    uint8_t filters = 0, xyz = 0, lock = 0;
    if (!unit.examineByte(toByte(Parameter::FilterStatus), "examine filter status", filters) ||
        !unit.examineByte(toByte(Parameter::RotateXyzWithReferenceFrame), "examine xyz reference", xyz) ||
        !unit.examineByte(toByte(Parameter::SuddenOutputChangeLock), "examine sudden output change", lock))
        return false;
    // A set bit switches a filter off. The button bit cannot be read back.
    config.setup = static_cast<uint8_t>((config.setup & kButtonBit) | (~filters & kFilterBits) | ((xyz & 1) << 4) |
                                        ((lock & 1) << 5));
    return true;
}

int getOverUnitLink(VornGroup& group, UnitLink& link, int address, VornDeviceConfig& config, Depth depth)
{
    const UnitFacts facts = factsOf(group, address);
    const uint8_t transmitter = group.systemConfig.transmitter;
    UnitCommands unit(group, link, address, UnitCommands::Naming::Unit);
    uint16_t status = 0;
    if (!unit.examineWord(toByte(Parameter::Status), "examine vorn status", status) ||
        !unit.examineRevision("examine software revision", config.softwareRevision) ||
        !unit.examineByte(toByte(Parameter::ErrorCode), "examine error code", config.errorCode))
        return 0;
    config.status = protocol::deviceStatusOf(status, facts.statusByte, static_cast<uint8_t>(address), transmitter);
    config.dataFormat = protocol::dataFormatOfStatusWord(status);
    if (depth == Depth::Normal && !facts.extendedRangeUnit && !readSetup(unit, config))
        return 0;
    if (facts.extendedRangeSystem) {
        config.scaling = 144;
    } else {
        uint16_t scaling = 0;
        if (!unit.examineWord(toByte(Parameter::RangeScaling), "examine position scaling", scaling))
            return 0;
        config.scaling = scalingOfAnswer(scaling, config.scaling);
    }
    config.address = static_cast<uint8_t>(address);
    config.transmitterType =
        protocol::transmitterTypeOf(facts.statusByte, facts.extendedRangeUnit, config.status, transmitter);
    if (depth == Depth::Normal && !facts.extendedRangeUnit &&
        (!unit.examineWords(toByte(Parameter::AlphaMin), "examine alpha min", config.alphaMin) ||
         !unit.examineWords(toByte(Parameter::AlphaMax), "examine alpha max", config.alphaMax) ||
         !unit.examineWords(toByte(Parameter::VmTable), "examine vm", config.vm)))
        return 0;
    group.deviceConfig[static_cast<std::size_t>(address)] = config;
    return 1;
}

// Every command of a set is followed by a short pause before the next.
bool paused(bool sent)
{
    return sent && platform::PumpWait::forMilliseconds(kAfterCommandMs);
}

bool sendButton(UnitCommands& unit, const VornDeviceConfig& config)
{
    return paused(unit.command({toByte(protocol::Command::ButtonMode), static_cast<uint8_t>((config.setup >> 3) & 1)},
                               "\"button mode\" command"));
}

// Format 0 sends nothing (the unit keeps its format); 6 and above 8 are refused.
bool sendFormat(UnitCommands& unit, const VornDeviceConfig& config)
{
    if (!protocol::isValidDataFormat(config.dataFormat)) {
        reportError("Illegal data format specified for vorn #%d: %u.", unit.unit(), config.dataFormat);
        return false;
    }
    const auto command = protocol::dataFormatCommand(config.dataFormat);
    return !command || paused(unit.command({toByte(*command)}, "data-format command"));
}

bool sendScaling(UnitCommands& unit, const VornDeviceConfig& config)
{
    if (config.scaling != 36 && config.scaling != 72) {
        reportError("Illegal scaling value specified for vorn #%d: %u.", unit.unit(), config.scaling);
        return false;
    }
    return paused(unit.changeValue(toByte(Parameter::RangeScaling), config.scaling == 72 ? 1 : 0,
                                   "\"change position scaling\" command"));
}

bool sendReportRate(UnitCommands& unit, const VornDeviceConfig& config)
{
    const auto command = protocol::reportRateCommand(config.reportRate);
    if (!command) {
        reportError("Illegal report rate specified for vorn #%d: %u.", unit.unit(), config.reportRate);
        return false;
    }
    return paused(unit.command({toByte(*command)}, "report-rate command"));
}

bool sendSwitches(UnitCommands& unit, const VornDeviceConfig& config)
{
    return paused(unit.changeValue(toByte(Parameter::FilterStatus), static_cast<uint16_t>(~config.setup & kFilterBits),
                                   "\"change filter status\" command")) &&
           sendButton(unit, config) &&
           paused(unit.changeValue(toByte(Parameter::RotateXyzWithReferenceFrame), (config.setup >> 4) & 1,
                                   "\"change xyz reference\" command")) &&
           paused(unit.changeValue(toByte(Parameter::SuddenOutputChangeLock), (config.setup >> 5) & 1,
                                   "\"change sudden output change\" command")) &&
           sendFormat(unit, config);
}

bool sendFiltersAndTables(UnitCommands& unit, const VornDeviceConfig& config)
{
    const auto hemisphere = protocol::hemisphereArguments(config.hemisphere);
    if (!hemisphere) {
        reportError("Illegal hemisphere specified for vorn #%d: %u.", unit.unit(), config.hemisphere);
        return false;
    }
    const auto words = [](const int16_t(&angles)[3]) {
        return std::array<uint16_t, 3> {static_cast<uint16_t>(angles[0]), static_cast<uint16_t>(angles[1]),
                                        static_cast<uint16_t>(angles[2])};
    };
    return paused(unit.command({toByte(protocol::Command::Hemisphere), (*hemisphere)[0], (*hemisphere)[1]},
                               "\"hemisphere\" command")) &&
           paused(
               unit.changeValueWords(toByte(Parameter::AlphaMin), config.alphaMin, "\"change alpha min\" command")) &&
           paused(
               unit.changeValueWords(toByte(Parameter::AlphaMax), config.alphaMax, "\"change alpha max\" command")) &&
           paused(unit.changeValueWords(toByte(Parameter::VmTable), config.vm, "\"change vm\" command")) &&
           paused(unit.commandWithWords(toByte(protocol::Command::ReferenceFrame), words(config.referenceFrame),
                                        "\"reference frame\" command")) &&
           paused(unit.commandWithWords(toByte(protocol::Command::AngleAlign), words(config.angleAlign),
                                        "\"angle align\" command"));
}

int setOverUnitLink(VornGroup& group, UnitLink& link, int address, const VornDeviceConfig& config, Depth depth)
{
    if (depth == Depth::Normal && group.pv2 && (config.setup & kButtonBit)) {
        reportError("Button mode not supported in Pellvorn II");
        return 0;
    }
    const UnitFacts facts = factsOf(group, address);
    UnitCommands unit(group, link, address, UnitCommands::Naming::Unit);
    if (!facts.extendedRangeUnit) {
        const bool sent =
            depth == Depth::Normal ? sendSwitches(unit, config) : sendButton(unit, config) && sendFormat(unit, config);
        if (!sent)
            return 0;
    }
    // Only the master's report rate reaches the units.
    if (depth == Depth::Normal && address <= 1 && !sendReportRate(unit, config))
        return 0;
    if (!facts.extendedRangeSystem && !sendScaling(unit, config))
        return 0;
    if (depth == Depth::Normal && !facts.extendedRangeUnit && !sendFiltersAndTables(unit, config))
        return 0;
    group.deviceConfig[static_cast<std::size_t>(address)] = config;
    return 1;
}

int get(VornGroup& group, int unit, VornDeviceConfig& config, Depth depth)
{
    config = group.deviceConfig[static_cast<std::size_t>(unit)];
    if (group.mode == ConnectionMode::TcpIp)
        return tcpipGetDeviceConfig(group, unit, config);
    UnitLink* link = unitLinkOf(group);
    return link != nullptr ? getOverUnitLink(group, *link, unit, config, depth) : 0;
}

int set(VornGroup& group, int unit, const VornDeviceConfig& config, Depth depth)
{
    if (group.mode == ConnectionMode::TcpIp)
        return tcpipSetDeviceConfig(group, unit, config);
    UnitLink* link = unitLinkOf(group);
    return link != nullptr ? setOverUnitLink(group, *link, unit, config, depth) : 0;
}

} // namespace

int getDeviceConfig(VornGroup& group, int unit, VornDeviceConfig& config)
{
    return get(group, unit, config, Depth::Normal);
}

int getFastDeviceConfig(VornGroup& group, int unit, VornDeviceConfig& config)
{
    return get(group, unit, config, Depth::Fast);
}

int setDeviceConfig(VornGroup& group, int unit, const VornDeviceConfig& config)
{
    return set(group, unit, config, Depth::Normal);
}

int setFastDeviceConfig(VornGroup& group, int unit, const VornDeviceConfig& config)
{
    return set(group, unit, config, Depth::Fast);
}

} // namespace vorn
