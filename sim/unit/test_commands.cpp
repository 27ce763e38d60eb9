#include "unit/test_commands.h"

namespace vorn::sim {

int testCommandArgumentBytes(uint8_t command)
{
    switch (command) {
    case kStopStream:
    case kTestModeReset:
    case '1': // echo line test
        return 0;
    case 'j': // rate count lo, hi
    case 'd': // RAM byte read lo, hi
    case 'k': // PROM byte read lo, hi
    case 'w': // RAM word read lo, hi
        return 2;
    case 'e': // RAM write lo, hi, value
        return 3;
    default:
        // Variable address table entries 0x80 + k, k = 0..19.
        return command >= 0x80 && command < 0x80 + 20 ? 0 : -1;
    }
}

} // namespace vorn::sim
