// Frames from ISA boards: through the master in group mode while streaming
// and on PV2, otherwise board by board, each triggered on its own and its
// answer collected word by word.
#include "frames/isa_frames.h"

#include "frames/group_frame_decoder.h"
#include "frames/group_mode.h"
#include "frames/record_layout.h"
#include "group/error_reporter.h"
#include "group/workers.h"
#include "platform/clock.h"
#include "protocol/commands.h"
#include "transports/isa_transport.h"

#include <array>

namespace vorn {

namespace {

constexpr std::size_t kSlotBytes = 32; // the longest record of one unit, rounded up

uint32_t timeStamp()
{
    return static_cast<uint32_t>(platform::nowMs());
}

// Units of a vornset that answer a point command on a board of their own.
template <typename Visit> bool forEachUnitWithBoard(VornGroup& group, IsaTransport& isa, Visit visit)
{
    for (int unit = 1; unit <= lastUnit(group); ++unit)
        if (isa.hasBoard(unit) && takesPart(group, unit) && !visit(unit))
            return false;
    return true;
}

// Every board's answer, one word of each in turn.
int collectBoards(VornGroup& group, IsaTransport& isa, VornFrame& frame)
{
    frame.time = timeStamp();
    static_assert(kSlotBytes >= protocol::kMaxRecordBytes);
    std::array<std::array<uint8_t, kSlotBytes>, VORN_UNIT_COUNT> slots {};
    for (std::size_t offset = 0; offset < kSlotBytes; offset += 2) {
        const bool read = forEachUnitWithBoard(group, isa, [&](int unit) {
            if (expectedRecordLength(group, unit) <= offset)
                return true;
            if (isa.getResponse(group, unit, std::span(&slots[static_cast<std::size_t>(unit)][offset], 2)))
                return true;
            reportError("Unable to get reading from vorn #%d.", unit);
            setErrorCode(VORN_ERR_ISA_READ);
            return false;
        });
        if (!read)
            return 0;
    }
    forEachUnitWithBoard(group, isa, [&](int unit) {
        const auto& slot = slots[static_cast<std::size_t>(unit)];
        decodeReadingRecord(group, unit, std::span(slot.data(), expectedRecordLength(group, unit)),
                            frame.reading[unit]);
        return true;
    });
    return 1;
}

} // namespace

int isaStartSingleFrame(VornGroup& group)
{
    IsaTransport* isa = isaTransportOf(group);
    if (isa == nullptr)
        return 0;
    if (group.pv2) {
        if (!group.groupModeActive && !switchGroupMode(group, *isa, true))
            return 0;
        group.expectedFrameLength = static_cast<int>(expectedFrameLength(group));
        return commandMaster(group, *isa, protocol::toByte(protocol::Command::Point), "point") ? 1 : 0;
    }
    if (group.standAlone)
        return startReading(group, 0);
    if (group.groupModeActive && !switchGroupMode(group, *isa, false))
        return 0;
    return forEachUnitWithBoard(group, *isa, [&](int unit) { return isa->trigger(group, unit); }) ? 1 : 0;
}

int isaGetFrame(VornGroup& group, VornFrame& frame)
{
    IsaTransport* isa = isaTransportOf(group);
    if (isa == nullptr)
        return 0;
    VornFrame scratch {};
    int got = 0;
    if (group.streaming || group.pv2) {
        got = getGroupFrame(group, *isa, scratch);
        scratch.time = timeStamp(); // on this path after the data came
    } else if (group.standAlone) {
        scratch.time = timeStamp();
        got = getReading(group, 0, scratch.reading[0]);
    } else {
        got = collectBoards(group, *isa, scratch);
    }
    if (got)
        frame = scratch;
    return got;
}

int isaStartFrameStream(VornGroup& group)
{
    return startUnitStream(group);
}

int isaStopFrameStream(VornGroup& group)
{
    // Clearing the master's board ends its stream.
    IsaTransport* isa = isaTransportOf(group);
    return isa != nullptr && isa->clearBuffer(group, masterUnit(group)) ? 1 : 0;
}

} // namespace vorn
