#include "protocol/unit_status.h"

#include <bit>

namespace vorn::protocol {

namespace {
constexpr uint8_t kDeviceError = 0x80;
constexpr uint8_t kDeviceRunning = 0x40;
constexpr uint8_t kDeviceSensor = 0x04;
constexpr uint8_t kDeviceTransmitter = 0x02;
constexpr uint8_t kDeviceDrivesTransmitter = 0x01;
} // namespace

uint8_t dataFormatOfStatusWord(uint16_t statusWord)
{
    return static_cast<uint8_t>((statusWord & status_word::kFormatMask) >> 1);
}

uint16_t statusWordWithDataFormat(uint16_t statusWord, uint8_t dataFormat)
{
    return static_cast<uint16_t>((statusWord & ~status_word::kFormatMask) |
                                 ((dataFormat << 1) & status_word::kFormatMask));
}

uint8_t systemStatusOfStatusWord(uint16_t statusWord, uint8_t storedSystemStatus)
{
    uint8_t status = storedSystemStatus & 0x02;
    if (statusWord & status_word::kRunning) {
        status |= 0x80;
    }
    if (statusWord & status_word::kError) {
        status |= 0x40;
    }
    if (statusWord & status_word::kCrtSync) {
        status |= 0x01;
    }
    return status;
}

bool isExtendedRangeUnit(uint8_t unitStatusByte)
{
    const uint8_t both = unit_status::kTransmitter | unit_status::kExtendedRangeTransmitter;
    return (unitStatusByte & unit_status::kExtendedRangeNumbers) != 0 || (unitStatusByte & both) == both;
}

bool hasTransmitter(uint8_t unitStatusByte)
{
    return (unitStatusByte & unit_status::kTransmitterBits) != 0;
}

bool hasSensor(uint8_t unitStatusByte)
{
    return (unitStatusByte & unit_status::kSensor) != 0;
}

bool hasStandardRangeTransmitter(uint8_t unitStatusByte)
{
    return (unitStatusByte & unit_status::kTransmitter) != 0 &&
           (unitStatusByte & unit_status::kExtendedRangeTransmitter) == 0;
}

uint8_t transmitterCount(uint8_t unitStatusByte)
{
    return static_cast<uint8_t>(std::popcount(static_cast<unsigned>(unitStatusByte & unit_status::kTransmitterBits)));
}

uint8_t extendedRangeTransmitterNumber(uint8_t unitStatusByte)
{
    for (uint8_t number = 3; number >= 1; --number) {
        if (unitStatusByte & (1u << number)) {
            return number;
        }
    }
    return 0;
}

uint8_t deviceStatusOf(uint16_t statusWord, uint8_t unitStatusByte, uint8_t address, uint8_t activeTransmitter)
{
    uint8_t status = 0;
    if (statusWord & status_word::kRunning) {
        status |= kDeviceRunning;
    }
    if (statusWord & status_word::kError) {
        status |= kDeviceError;
    }
    if (hasSensor(unitStatusByte)) {
        status |= kDeviceSensor;
    }
    if (hasTransmitter(unitStatusByte)) {
        status |= kDeviceTransmitter;
    }
    const bool drives =
        address == (activeTransmitter >> 4) && (status & kDeviceRunning) && (status & kDeviceTransmitter);
    if (drives) {
        status |= kDeviceDrivesTransmitter;
    }
    return status;
}

uint8_t transmitterTypeOf(uint8_t unitStatusByte, bool extendedRangeUnit, uint8_t deviceStatus,
                          uint8_t activeTransmitter)
{
    uint8_t type = extendedRangeUnit ? 0x80 : 0;
    if (hasStandardRangeTransmitter(unitStatusByte)) {
        type |= 0x40;
    }
    if (deviceStatus & kDeviceDrivesTransmitter) {
        type |= static_cast<uint8_t>(((activeTransmitter & 0x03) | 0x04) << 2);
    }
    return static_cast<uint8_t>(type | transmitterCount(unitStatusByte));
}

} // namespace vorn::protocol
