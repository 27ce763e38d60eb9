// Streams: the units send a frame at every report until stopped; frames
// wait in the line's input queue until the caller takes them.
#include "frames/group_mode.h"
#include "frames/isa_frames.h"
#include "frames/record_layout.h"
#include "frames/tcpip_frames.h"
#include "group/error_reporter.h"
#include "group/workers.h"
#include "platform/pump_wait.h"
#include "platform/serial_line.h"
#include "protocol/commands.h"
#include "transports/serial_transport.h"

namespace vorn {

namespace {

constexpr uint32_t kAfterStreamStopMs = 1000;

} // namespace

int startUnitStream(VornGroup& group)
{
    UnitLink* link = unitLinkOf(group);
    if (link == nullptr)
        return 0;
    if (!group.groupModeActive && !group.standAlone && !switchGroupMode(group, *link, true))
        return 0;
    group.expectedFrameLength = static_cast<int>(expectedFrameLength(group));
    group.lastActiveUnit = lastActiveUnit(group);
    if (!commandMaster(group, *link, protocol::toByte(protocol::Command::Stream), "stream"))
        return 0;
    group.streaming = true;
    return 1;
}

namespace {

int stopRs232Stream(VornGroup& group)
{
    SerialTransport* serial = serialTransportOf(group);
    // A point command ends a stream.
    if (serial == nullptr || !commandMaster(group, *serial, protocol::toByte(protocol::Command::Point), "point"))
        return 0;
    return 1;
}

// A full input queue may have dropped bytes: start again from a clean
// frame boundary before taking the newest frame.
bool overflowed(VornGroup& group, SerialTransport& serial)
{
    return serial.queued(group, masterUnit(group)) >= platform::SerialLine::kInputQueueSize;
}

int recoverFromOverflow(VornGroup& group, SerialTransport& serial, VornFrame& frame)
{
    if (!serial.clearBuffer(group, masterUnit(group))) {
        setErrorCode(VORN_ERR_RS232_READ);
        return 0;
    }
    if (!serial.resynchronise(group)) {
        setErrorCode(VORN_ERR_PHASE_LOST);
        return 0;
    }
    return takeFrame(group, frame);
}

} // namespace

int startFrameStream(VornGroup& group)
{
    switch (group.mode) {
    case ConnectionMode::Rs232: return startUnitStream(group);
    case ConnectionMode::TcpIp: return tcpipStartFrameStream(group);
    case ConnectionMode::Isa: return isaStartFrameStream(group);
    case ConnectionMode::None: break;
    }
    return 0;
}

int stopFrameStream(VornGroup& group)
{
    int sent = 0;
    switch (group.mode) {
    case ConnectionMode::Rs232: sent = stopRs232Stream(group); break;
    case ConnectionMode::TcpIp: sent = tcpipStopFrameStream(group); break;
    case ConnectionMode::Isa: sent = isaStopFrameStream(group); break;
    case ConnectionMode::None: break;
    }
    // Frames already on their way arrive during the wait; a cancelled wait
    // leaves the group streaming.
    if (sent == 0 || !platform::PumpWait::forMilliseconds(kAfterStreamStopMs))
        return 0;
    group.streaming = false;
    group.mostRecentFrameValid = false;
    return 1;
}

int frameReady(VornGroup& group)
{
    if (group.mode == ConnectionMode::TcpIp)
        return tcpipFrameReady(group);
    UnitLink* link = unitLinkOf(group);
    // A frame of no bytes is never "waiting" on a line: nothing would ever
    // consume it. A board says itself whether a word waits, in or out of a stream.
    if (link == nullptr || (group.mode != ConnectionMode::Isa && group.expectedFrameLength <= 0))
        return 0;
    if (!link->ready(group, masterUnit(group), static_cast<std::size_t>(group.expectedFrameLength)))
        return 0;
    return readyAnswer(group);
}

int getMostRecentFrame(VornGroup& group, VornFrame& frame)
{
    if (SerialTransport* serial = serialTransportOf(group); serial != nullptr && overflowed(group, *serial))
        return recoverFromOverflow(group, *serial, frame);
    frame = group.mostRecentFrame;
    while (frameReady(group)) {
        if (takeFrame(group, frame))
            continue;
        const int code = takeErrorCode();
        if (code == VORN_ERR_PHASE)
            continue; // that frame is lost, the next one is aligned
        setErrorCode(code);
        return 0;
    }
    if (group.mostRecentFrameValid)
        return 1;
    // Nothing taken since the stream started: wait for the first frame.
    return takeFrame(group, frame);
}

} // namespace vorn
