// Measurement-cycle reporting: the master sends "," once per cycle.
#include "config/unit_commands.h"
#include "frames/group_mode.h"
#include "group/error_reporter.h"
#include "group/workers.h"
#include "protocol/commands.h"
#include "protocol/parameters.h"

namespace vorn {

namespace {

int sendDataReady(VornGroup& group, bool on)
{
    UnitLink* link = unitLinkOf(group);
    if (link == nullptr)
        return 0;
    UnitCommands master(group, *link, masterUnit(group), UnitCommands::Naming::Master);
    if (!master.changeValue(protocol::toByte(protocol::Parameter::DataReadyCharacter), on ? 1 : 0,
                            "\"enable data ready\" command"))
        return 0;
    group.reportingCycles = on;
    return 1;
}

} // namespace

int enableMeasurementCycleReporting(VornGroup& group)
{
    return sendDataReady(group, true);
}

int disableMeasurementCycleReporting(VornGroup& group)
{
    return sendDataReady(group, false);
}

int newMeasurementCycle(VornGroup& group)
{
    UnitLink* link = unitLinkOf(group);
    const int master = masterUnit(group);
    if (link == nullptr || !link->ready(group, master, 1))
        return 0;
    // A board delivers the character in the second byte of a word.
    uint8_t answer[2] = {};
    const std::size_t length = link->connection() == protocol::Connection::Isa ? 2 : 1;
    if (!link->getResponse(group, master, std::span(answer, length))) {
        reportError("Unable to get data ready character from master vorn.");
        return 0;
    }
    if (answer[length - 1] != protocol::kDataReadyCharacter)
        setErrorCode(VORN_ERR_DATA_READY);
    return 1;
}

} // namespace vorn
