#include "session_state.h"

namespace vorn::humsift {

void SessionState::setDefaults()
{
    const SessionState fresh;
    rawFile = fresh.rawFile;
    spectrumFile = fresh.spectrumFile;
    window = fresh.window;
    rate = fresh.rate;
    firstZero = fresh.firstZero;
    secondZero = fresh.secondZero;
    notchOff = fresh.notchOff;
    bandStart = fresh.bandStart;
    bandEnd = fresh.bandEnd;
    halfWidth = fresh.halfWidth;
    dataLoaded = false;
}

} // namespace vorn::humsift
