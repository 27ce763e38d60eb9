// Workers that are not built yet. Each fails through the error reporter and
// returns 0, so a caller never mistakes a missing feature for success.
// Delete a stub here when its real worker lands.
#include "exports/error_reporter.h"
#include "exports/workers.h"

namespace vorn {
namespace {

int notAvailable(const char* exportName)
{
    reportError("%s() is not available in this build yet.", exportName);
    return 0;
}

} // namespace

int tcpipWakeUp(VornGroup&, const char*, uint16_t, int) { return notAvailable("vornTCPIPWakeUp"); }
int rs232WakeUp(VornGroup&, bool, int, const uint16_t*, uint32_t, uint32_t, uint32_t) { return notAvailable("vornRS232WakeUp"); }
int isaWakeUp(VornGroup&, bool, int, const uint16_t*, uint32_t, uint32_t) { return notAvailable("vornISAWakeUp"); }
int pv2WakeUp(VornGroup&, uint16_t, uint32_t, uint32_t) { return notAvailable("vornPV2WakeUp"); }

int getSystemConfig(VornGroup&, VornSystemConfig&) { return notAvailable("vornGetSystemConfig"); }
int setSystemConfig(VornGroup&, VornSystemConfig&) { return notAvailable("vornSetSystemConfig"); }
int getDeviceConfig(VornGroup&, int, VornDeviceConfig&) { return notAvailable("vornGetDeviceConfig"); }
int setDeviceConfig(VornGroup&, int, const VornDeviceConfig&) { return notAvailable("vornSetDeviceConfig"); }
int getFastDeviceConfig(VornGroup&, int, VornDeviceConfig&) { return notAvailable("vornGetFastDeviceConfig"); }
int setFastDeviceConfig(VornGroup&, int, const VornDeviceConfig&) { return notAvailable("vornSetFastDeviceConfig"); }

int startReading(VornGroup&, int) { return notAvailable("vornStartReading"); }
int getReading(VornGroup&, int, VornReading&) { return notAvailable("vornGetReading"); }
int readingReady(VornGroup&, int) { return notAvailable("vornReadingReady"); }

int startSingleFrame(VornGroup&) { return notAvailable("vornStartSingleFrame"); }
int startFrameStream(VornGroup&) { return notAvailable("vornStartFrameStream"); }
int getFrame(VornGroup&, VornFrame&) { return notAvailable("vornGetFrame"); }
int getMostRecentFrame(VornGroup&, VornFrame&) { return notAvailable("vornGetMostRecentFrame"); }
int frameReady(VornGroup&) { return notAvailable("vornFrameReady"); }
int stopFrameStream(VornGroup&) { return notAvailable("vornStopFrameStream"); }

int enableMeasurementCycleReporting(VornGroup&) { return notAvailable("vornEnableMeasurementCycleReporting"); }
int disableMeasurementCycleReporting(VornGroup&) { return notAvailable("vornDisableMeasurementCycleReporting"); }
int newMeasurementCycle(VornGroup&) { return notAvailable("vornNewMeasurementCycle"); }

int tcpipSendCommand(VornGroup&, const unsigned char*, uint16_t) { return notAvailable("vornTCPIPSendCommand"); }
int tcpipGetResponse(VornGroup&, unsigned char*, uint16_t) { return notAvailable("vornTCPIPGetResponse"); }
int tcpipClearBuffer(VornGroup&) { return notAvailable("vornTCPIPClearBuffer"); }

int rs232SendCommand(VornGroup&, int, const unsigned char*, uint16_t) { return notAvailable("vornRS232SendCommand"); }
int rs232GetResponse(VornGroup&, int, unsigned char*, uint16_t) { return notAvailable("vornRS232GetResponse"); }
int rs232ClearBuffer(VornGroup&, int) { return notAvailable("vornRS232ClearBuffer"); }
int rs232Resynch(VornGroup&) { return notAvailable("vornRS232Resynch"); }
int rs232Reset(VornGroup&) { return notAvailable("vornRS232Reset"); }
// Automatic on a vornset depends on which units have lines of their own,
// which only the serial transport knows; until then it counts as off.
bool rs232GroupModeEnabled(const VornGroup& group)
{
    if (group.groupModeSetting == GroupModeOff || group.groupModeSetting == GroupModeOn)
        return group.groupModeSetting == GroupModeOn;
    return group.standAlone;
}

int isaSendCommand(VornGroup&, int, const unsigned char*, uint16_t) { return notAvailable("vornISASendCommand"); }
int isaGetResponse(VornGroup&, int, unsigned char*, uint16_t) { return notAvailable("vornISAGetResponse"); }
int isaClearBuffer(VornGroup&, int) { return notAvailable("vornISAClearBuffer"); }
int isaResynch(VornGroup&) { return notAvailable("vornISAResynch"); }
int isaReset(VornGroup&) { return notAvailable("vornISAReset"); }

} // namespace vorn
