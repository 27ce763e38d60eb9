// Workers that are not built yet. Each fails through the error reporter and
// returns 0, so a caller never mistakes a missing feature for success.
// Delete a stub here when its real worker lands.
#include "exports/error_reporter.h"
#include "exports/workers.h"
#include "config/tcpip_config.h"
#include "frames/isa_frames.h"
#include "frames/tcpip_frames.h"

namespace vorn {
namespace {

int notAvailable(const char* exportName)
{
    reportError("%s() is not available in this build yet.", exportName);
    return 0;
}

} // namespace

int tcpipWakeUp(VornGroup&, const char*, uint16_t, int) { return notAvailable("vornTCPIPWakeUp"); }
int isaWakeUp(VornGroup&, bool, int, const uint16_t*, uint32_t, uint32_t) { return notAvailable("vornISAWakeUp"); }
int pv2WakeUp(VornGroup&, uint16_t, uint32_t, uint32_t) { return notAvailable("vornPV2WakeUp"); }

int tcpipSendCommand(VornGroup&, const unsigned char*, uint16_t) { return notAvailable("vornTCPIPSendCommand"); }
int tcpipGetResponse(VornGroup&, unsigned char*, uint16_t) { return notAvailable("vornTCPIPGetResponse"); }
int tcpipClearBuffer(VornGroup&) { return notAvailable("vornTCPIPClearBuffer"); }

// The TCP/IP and ISA parts of the configuration and frame workers.
int tcpipGetSystemConfig(VornGroup&, VornSystemConfig&) { return notAvailable("vornGetSystemConfig"); }
int tcpipSetSystemConfig(VornGroup&, VornSystemConfig&) { return notAvailable("vornSetSystemConfig"); }
int tcpipGetDeviceConfig(VornGroup&, int, VornDeviceConfig&) { return notAvailable("vornGetDeviceConfig"); }
int tcpipSetDeviceConfig(VornGroup&, int, const VornDeviceConfig&) { return notAvailable("vornSetDeviceConfig"); }
int tcpipStartSingleFrame(VornGroup&) { return notAvailable("vornStartSingleFrame"); }
int tcpipGetFrame(VornGroup&, VornFrame&) { return notAvailable("vornGetFrame"); }
int tcpipStartFrameStream(VornGroup&) { return notAvailable("vornStartFrameStream"); }
int tcpipStopFrameStream(VornGroup&) { return notAvailable("vornStopFrameStream"); }
int tcpipFrameReady(VornGroup&) { return notAvailable("vornFrameReady"); }
int isaStartSingleFrame(VornGroup&) { return notAvailable("vornStartSingleFrame"); }
int isaGetFrame(VornGroup&, VornFrame&) { return notAvailable("vornGetFrame"); }
int isaStartFrameStream(VornGroup&) { return notAvailable("vornStartFrameStream"); }
int isaStopFrameStream(VornGroup&) { return notAvailable("vornStopFrameStream"); }

int isaSendCommand(VornGroup&, int, const unsigned char*, uint16_t) { return notAvailable("vornISASendCommand"); }
int isaGetResponse(VornGroup&, int, unsigned char*, uint16_t) { return notAvailable("vornISAGetResponse"); }
int isaClearBuffer(VornGroup&, int) { return notAvailable("vornISAClearBuffer"); }
int isaResynch(VornGroup&) { return notAvailable("vornISAResynch"); }
int isaReset(VornGroup&) { return notAvailable("vornISAReset"); }

} // namespace vorn
