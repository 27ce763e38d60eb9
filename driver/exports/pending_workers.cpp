// Workers that are not built yet. Each fails through the error reporter and
// returns 0, so a caller never mistakes a missing feature for success.
// Delete a stub here when its real worker lands.
#include "exports/error_reporter.h"
#include "exports/workers.h"
#include "frames/isa_frames.h"

namespace vorn {
namespace {

int notAvailable(const char* exportName)
{
    reportError("%s() is not available in this build yet.", exportName);
    return 0;
}

} // namespace

int isaWakeUp(VornGroup&, bool, int, const uint16_t*, uint32_t, uint32_t) { return notAvailable("vornISAWakeUp"); }
int pv2WakeUp(VornGroup&, uint16_t, uint32_t, uint32_t) { return notAvailable("vornPV2WakeUp"); }


// The ISA parts of the frame workers.
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
