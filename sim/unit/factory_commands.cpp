#include "unit/factory_commands.h"

#include "unit/memory_map.h"

namespace vorn::sim {

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
    if (command < kAddressTableFirst || command >= kAddressTableFirst + MemoryMap::kAddressTableEntries) {
        return std::nullopt;
    }
    return command - kAddressTableFirst;
}

} // namespace vorn::sim
