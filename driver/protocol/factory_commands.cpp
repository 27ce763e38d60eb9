#include "protocol/factory_commands.h"

namespace vorn::protocol {

int factoryCommandArgumentBytes(uint8_t command)
{
    switch (command) {
    case kStopStream:
    case kRawSampleModeReset:
    case kLineCheckByte: return 0;
    case kRateCount:
    case kRamByteRead:
    case kPromByteRead:
    case kRamWordRead: return 2;
    case kRamWrite: return 3;
    default: return addressTableIndex(command) ? 0 : -1;
    }
}

std::optional<std::size_t> addressTableIndex(uint8_t command)
{
    if (command < kAddressTableFirst || command >= kAddressTableFirst + kAddressTableEntries) {
        return std::nullopt;
    }
    return command - kAddressTableFirst;
}

} // namespace vorn::protocol
