// Single readings: a point command to one unit, then its one record.
#include "frames/group_frame_decoder.h"
#include "frames/group_mode.h"
#include "frames/record_layout.h"
#include "group/error_reporter.h"
#include "group/workers.h"
#include "protocol/commands.h"
#include "protocol/record_shape.h"

#include <algorithm>
#include <array>

namespace vorn {

int startReading(VornGroup& group, int unit)
{
    UnitLink* link = unitLinkOf(group);
    if (link == nullptr)
        return 0;
    // Readings come from one unit at a time: the master leaves group mode.
    if (group.groupModeActive && !switchGroupMode(group, *link, false))
        return 0;
    const uint8_t point = protocol::toByte(protocol::Command::Point);
    if (!link->send(group, unit, std::span(&point, 1))) {
        reportError("Unable to send \"point\" command to vorn #%d.", unit);
        return 0;
    }
    return 1;
}

int getReading(VornGroup& group, int unit, VornReading& reading)
{
    UnitLink* link = unitLinkOf(group);
    if (link == nullptr)
        return 0;
    std::array<uint8_t, protocol::kMaxRecordBytes> record {};
    const std::size_t length = std::min(expectedRecordLength(group, unit), record.size());
    if (!link->getResponse(group, unit, std::span(record.data(), length))) {
        reportError("Unable to get reading from vorn #%d.", unit);
        setErrorCode(group.mode == ConnectionMode::Isa ? VORN_ERR_ISA_READ : VORN_ERR_RS232_READ);
        return 0;
    }
    VornReading decoded {};
    decodeReadingRecord(group, unit, std::span(record.data(), length), decoded);
    reading = decoded;
    return 1;
}

int readingReady(VornGroup& group, int unit)
{
    UnitLink* link = unitLinkOf(group);
    return link != nullptr && link->ready(group, unit, expectedRecordLength(group, unit)) ? readyAnswer(group) : 0;
}

} // namespace vorn
