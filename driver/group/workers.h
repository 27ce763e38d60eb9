// The seam between the frame and the workers: everything an export hands
// over once its checks have passed. The frame has checked the identifier,
// the slot, the arguments (non-null pointers, units 0..126, unit counts) and
// the group's state; a worker does the work and reports its own failures.
//
// Every worker returns the export's result: nonzero on success (for the
// queries: yes), 0 on failure.
#pragma once

#include "group/group.h"

#include <vorn/vorn.h>

#include <cstdint>

namespace vorn {

// Wake-up: `group` is the fresh record (mode None; the frame has already run
// the "after vorns are already woken up" check); on failure the worker
// closes what it opened and the frame shuts the group down.
int tcpipWakeUp(VornGroup& group, const char* serverAddress, uint16_t port, int numberOfUnits);
int rs232WakeUp(VornGroup& group, bool standAlone, int numberOfUnits, const uint16_t* comPorts, uint32_t baudRate,
                uint32_t readTimeoutMs, uint32_t writeTimeoutMs);
int isaWakeUp(VornGroup& group, bool standAlone, int numberOfUnits, const uint16_t* baseAddresses,
              uint32_t readTimeoutMs, uint32_t writeTimeoutMs);
int pv2WakeUp(VornGroup& group, uint16_t masterBaseAddress, uint32_t readTimeoutMs, uint32_t writeTimeoutMs);

// Configuration.
int getSystemConfig(VornGroup& group, VornSystemConfig& config);
int setSystemConfig(VornGroup& group, VornSystemConfig& config);
int getDeviceConfig(VornGroup& group, int unit, VornDeviceConfig& config);
int setDeviceConfig(VornGroup& group, int unit, const VornDeviceConfig& config);
int getFastDeviceConfig(VornGroup& group, int unit, VornDeviceConfig& config);
int setFastDeviceConfig(VornGroup& group, int unit, const VornDeviceConfig& config);

// Single readings.
int startReading(VornGroup& group, int unit);
int getReading(VornGroup& group, int unit, VornReading& reading);
int readingReady(VornGroup& group, int unit);

// Frames and streams. getFrame only reads the frame: the frame's takeFrame()
// (below) adds the bookkeeping of a taken frame, so workers that fetch
// frames themselves (getMostRecentFrame) call takeFrame.
int startSingleFrame(VornGroup& group);
int startFrameStream(VornGroup& group);
int getFrame(VornGroup& group, VornFrame& frame);
int getMostRecentFrame(VornGroup& group, VornFrame& frame);
int frameReady(VornGroup& group); // also asked by the frame-ready timer
int stopFrameStream(VornGroup& group);

// Measurement cycles.
int enableMeasurementCycleReporting(VornGroup& group);
int disableMeasurementCycleReporting(VornGroup& group);
int newMeasurementCycle(VornGroup& group);

// TCP/IP pass-through.
int tcpipSendCommand(VornGroup& group, const unsigned char* packet, uint16_t length);
int tcpipGetResponse(VornGroup& group, unsigned char* packet, uint16_t length);
int tcpipClearBuffer(VornGroup& group);

// RS232 and ISA pass-through and line or board control: one set for both,
// since the export's mode check has chosen the link.
int unitSendCommand(VornGroup& group, int unit, const unsigned char* bytes, uint16_t count);
int unitGetResponse(VornGroup& group, int unit, unsigned char* bytes, uint16_t count);
int unitClearBuffer(VornGroup& group, int unit);
int unitResynch(VornGroup& group);
int unitReset(VornGroup& group);

// Whether frames go through the master in group mode: a plain query, no
// message (the mode check belongs to the export).
bool rs232GroupModeEnabled(const VornGroup& group);

// Provided by the frames (frames/frame_taking.cpp): getFrame plus what a
// taken frame means to the group (newest frame kept, callback re-armed).
int takeFrame(VornGroup& group, VornFrame& frame);

} // namespace vorn
