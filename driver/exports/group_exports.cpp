// The exports that act on a woken group: each names its rule and its worker.
#include "exports/dispatch.h"
#include "group/workers.h"

#include <vorn/vorn.h>

using namespace vorn;

namespace {

CallArguments unitOnly(int unit)
{
    return {.unit = unit};
}

CallArguments record(const void* pointer)
{
    return {.pointer = pointer};
}

CallArguments unitRecord(int unit, const void* pointer)
{
    return {.unit = unit, .pointer = pointer};
}

CallArguments unitBuffer(int unit, const void* pointer, uint16_t count)
{
    return {.unit = unit, .pointer = pointer, .count = count};
}

} // namespace

extern "C" {

// Configuration
int vornGetSystemConfig(int group, VornSystemConfig* config)
{
    return callGroup(Export::GetSystemConfig, group, record(config),
                     [&](VornGroup& g) { return getSystemConfig(g, *config); });
}

int vornSetSystemConfig(int group, VornSystemConfig* config)
{
    return callGroup(Export::SetSystemConfig, group, record(config),
                     [&](VornGroup& g) { return setSystemConfig(g, *config); });
}

int vornGetDeviceConfig(int group, int unit, VornDeviceConfig* config)
{
    return callUnit(Export::GetDeviceConfig, group, unitRecord(unit, config),
                    [&](VornGroup& g, int u) { return getDeviceConfig(g, u, *config); });
}

int vornSetDeviceConfig(int group, int unit, const VornDeviceConfig* config)
{
    return callUnit(Export::SetDeviceConfig, group, unitRecord(unit, config),
                    [&](VornGroup& g, int u) { return setDeviceConfig(g, u, *config); });
}

int vornGetFastDeviceConfig(int group, int unit, VornDeviceConfig* config)
{
    return callUnit(Export::GetFastDeviceConfig, group, unitRecord(unit, config),
                    [&](VornGroup& g, int u) { return getFastDeviceConfig(g, u, *config); });
}

int vornSetFastDeviceConfig(int group, int unit, const VornDeviceConfig* config)
{
    return callUnit(Export::SetFastDeviceConfig, group, unitRecord(unit, config),
                    [&](VornGroup& g, int u) { return setFastDeviceConfig(g, u, *config); });
}

// Single readings
int vornStartReading(int group, int unit)
{
    return callUnit(Export::StartReading, group, unitOnly(unit),
                    [&](VornGroup& g, int u) { return startReading(g, u); });
}

int vornGetReading(int group, int unit, VornReading* reading)
{
    return callUnit(Export::GetReading, group, unitRecord(unit, reading),
                    [&](VornGroup& g, int u) { return getReading(g, u, *reading); });
}

int vornReadingReady(int group, int unit)
{
    return callUnit(Export::ReadingReady, group, unitOnly(unit),
                    [&](VornGroup& g, int u) { return readingReady(g, u); });
}

// Frames and streams
int vornStartSingleFrame(int group)
{
    return callGroup(Export::StartSingleFrame, group, {}, &startSingleFrame);
}

int vornStartFrameStream(int group)
{
    return callGroup(Export::StartFrameStream, group, {}, &startFrameStream);
}

int vornGetFrame(int group, VornFrame* frame)
{
    return callGroup(Export::GetFrame, group, record(frame), [&](VornGroup& g) { return takeFrame(g, *frame); });
}

int vornGetMostRecentFrame(int group, VornFrame* frame)
{
    return callGroup(Export::GetMostRecentFrame, group, record(frame),
                     [&](VornGroup& g) { return getMostRecentFrame(g, *frame); });
}

int vornFrameReady(int group)
{
    return callGroup(Export::FrameReady, group, {}, &frameReady);
}

int vornStopFrameStream(int group)
{
    return callGroup(Export::StopFrameStream, group, {}, &stopFrameStream);
}

// Frame-ready callback: pure bookkeeping, delivered by the frame-ready timer.
int vornStartFrameReadyCallback(int group, VornFrameReadyCallback callback, uintptr_t userValue)
{
    return callGroup(Export::StartFrameReadyCallback, group, record(reinterpret_cast<const void*>(callback)),
                     [&](VornGroup& g) {
                         g.callback = callback;
                         g.userValue = userValue;
                         g.callbackFired = false;
                         return 1;
                     });
}

int vornStopFrameReadyCallback(int group)
{
    return callGroup(Export::StopFrameReadyCallback, group, {}, [](VornGroup& g) {
        g.callback = nullptr;
        g.userValue = 0;
        g.callbackFired = false;
        return 1;
    });
}

// Measurement cycles
int vornEnableMeasurementCycleReporting(int group)
{
    return callGroup(Export::EnableMeasurementCycleReporting, group, {}, &enableMeasurementCycleReporting);
}

int vornDisableMeasurementCycleReporting(int group)
{
    return callGroup(Export::DisableMeasurementCycleReporting, group, {}, &disableMeasurementCycleReporting);
}

int vornNewMeasurementCycle(int group)
{
    return callGroup(Export::NewMeasurementCycle, group, {}, &newMeasurementCycle);
}

// TCP/IP pass-through
int vornTCPIPSendCommand(int group, const unsigned char* packet, uint16_t length)
{
    return callGroup(Export::TCPIPSendCommand, group, unitBuffer(0, packet, length),
                     [&](VornGroup& g) { return tcpipSendCommand(g, packet, length); });
}

int vornTCPIPGetResponse(int group, unsigned char* packet, uint16_t length)
{
    return callGroup(Export::TCPIPGetResponse, group, unitBuffer(0, packet, length),
                     [&](VornGroup& g) { return tcpipGetResponse(g, packet, length); });
}

int vornTCPIPClearBuffer(int group)
{
    return callGroup(Export::TCPIPClearBuffer, group, {}, &tcpipClearBuffer);
}

// RS232 pass-through and line control
int vornRS232SendCommand(int group, int unit, const unsigned char* bytes, uint16_t count)
{
    return callUnit(Export::RS232SendCommand, group, unitBuffer(unit, bytes, count),
                    [&](VornGroup& g, int u) { return unitSendCommand(g, u, bytes, count); });
}

int vornRS232GetResponse(int group, int unit, unsigned char* bytes, uint16_t count)
{
    return callUnit(Export::RS232GetResponse, group, unitBuffer(unit, bytes, count),
                    [&](VornGroup& g, int u) { return unitGetResponse(g, u, bytes, count); });
}

int vornRS232ClearBuffer(int group, int unit)
{
    return callUnit(Export::RS232ClearBuffer, group, unitOnly(unit),
                    [&](VornGroup& g, int u) { return unitClearBuffer(g, u); });
}

int vornRS232Resynch(int group)
{
    return callGroup(Export::RS232Resynch, group, {}, &unitResynch);
}

int vornRS232Reset(int group)
{
    return callGroup(Export::RS232Reset, group, {}, &unitReset);
}

int vornRS232SetGroupMode(int group, int setting)
{
    return callGroup(Export::RS232SetGroupMode, group, {}, [&](VornGroup& g) {
        g.groupModeSetting = setting;
        return 1;
    });
}

int vornRS232GroupModeEnabled(int group)
{
    return callGroup(Export::RS232GroupModeEnabled, group, {},
                     [](VornGroup& g) { return rs232GroupModeEnabled(g) ? 1 : 0; });
}

// Exactly the negation of vornRS232GroupModeEnabled, including its message
// outside RS232 mode (and so 1 there).
int vornRS232NonGroupModeAllowed(int group)
{
    return callGroup(Export::RS232NonGroupModeAllowed, group, {}, [](VornGroup& g) {
        const bool enabled = passesStateChecks(Export::RS232GroupModeEnabled, g) && rs232GroupModeEnabled(g);
        return enabled ? 0 : 1;
    });
}

// ISA pass-through and board control
int vornISASendCommand(int group, int unit, const unsigned char* bytes, uint16_t count)
{
    return callUnit(Export::ISASendCommand, group, unitBuffer(unit, bytes, count),
                    [&](VornGroup& g, int u) { return unitSendCommand(g, u, bytes, count); });
}

int vornISAGetResponse(int group, int unit, unsigned char* bytes, uint16_t count)
{
    return callUnit(Export::ISAGetResponse, group, unitBuffer(unit, bytes, count),
                    [&](VornGroup& g, int u) { return unitGetResponse(g, u, bytes, count); });
}

int vornISAClearBuffer(int group, int unit)
{
    return callUnit(Export::ISAClearBuffer, group, unitOnly(unit),
                    [&](VornGroup& g, int u) { return unitClearBuffer(g, u); });
}

int vornISAResynch(int group)
{
    return callGroup(Export::ISAResynch, group, {}, &unitResynch);
}

int vornISAReset(int group)
{
    return callGroup(Export::ISAReset, group, {}, &unitReset);
}

} // extern "C"
