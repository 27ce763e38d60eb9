// Single frames and vornGetFrame: through the master in group mode, or
// unit by unit on the units' own lines.
#include "frames/group_frame_decoder.h"
#include "frames/group_mode.h"
#include "frames/isa_frames.h"
#include "frames/record_layout.h"
#include "frames/tcpip_frames.h"
#include "group/workers.h"
#include "platform/clock.h"
#include "protocol/commands.h"
#include "transports/serial_transport.h"

namespace vorn {

namespace {

uint32_t timeStamp()
{
    return static_cast<uint32_t>(platform::nowMs());
}

// Units that answer a point command on their own line outside group mode.
// A stand-alone unit is its own line's only unit.
template <typename Visit> bool forEachUnitOnOwnLine(VornGroup& group, SerialTransport& serial, Visit visit)
{
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit)
        if (serial.hasLine(unit) && takesPart(group, unit) && !visit(unit))
            return false;
    return true;
}

// A vornset's stream is started through the master in group mode, so every
// unit's record arrives on the master's line, tagged, whatever the group mode
// setting says. Reading unit by unit there would hand the next units'
// records out as the master's, and wait in vain on the other lines.
bool streamsThroughMaster(const VornGroup& group)
{
    return group.streaming && group.groupModeActive;
}

int getRs232Frame(VornGroup& group, VornFrame& frame)
{
    SerialTransport* serial = serialTransportOf(group);
    if (serial == nullptr)
        return 0;
    VornFrame scratch {};
    scratch.time = timeStamp();
    if (rs232GroupModeEnabled(group) || streamsThroughMaster(group)) {
        if (!getGroupFrame(group, *serial, scratch))
            return 0;
    } else if (!forEachUnitOnOwnLine(group, *serial,
                                     [&](int unit) { return getReading(group, unit, scratch.reading[unit]) != 0; })) {
        return 0;
    }
    frame = scratch;
    return 1;
}

int startRs232SingleFrame(VornGroup& group)
{
    SerialTransport* serial = serialTransportOf(group);
    if (serial == nullptr)
        return 0;
    if (!rs232GroupModeEnabled(group))
        return forEachUnitOnOwnLine(group, *serial, [&](int unit) { return startReading(group, unit) != 0; }) ? 1 : 0;
    if (!group.groupModeActive && !group.standAlone && !switchGroupMode(group, *serial, true))
        return 0;
    group.expectedFrameLength = static_cast<int>(expectedFrameLength(group));
    return commandMaster(group, *serial, protocol::toByte(protocol::Command::Point), "point") ? 1 : 0;
}

} // namespace

int startSingleFrame(VornGroup& group)
{
    switch (group.mode) {
    case ConnectionMode::Rs232: return startRs232SingleFrame(group);
    case ConnectionMode::TcpIp: return tcpipStartSingleFrame(group);
    case ConnectionMode::Isa: return isaStartSingleFrame(group);
    case ConnectionMode::None: break;
    }
    return 0;
}

int getFrame(VornGroup& group, VornFrame& frame)
{
    switch (group.mode) {
    case ConnectionMode::Rs232: return getRs232Frame(group, frame);
    case ConnectionMode::TcpIp: return tcpipGetFrame(group, frame);
    case ConnectionMode::Isa: return isaGetFrame(group, frame);
    case ConnectionMode::None: break;
    }
    return 0;
}

} // namespace vorn
