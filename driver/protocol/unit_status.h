// The unit status word (examine value 0), the unit status byte per FVB address
// (system status answer), and the record fields derived from them.
#pragma once

#include <cstdint>

namespace vorn::protocol {

namespace status_word {
inline constexpr uint16_t kMaster = 1u << 15;
inline constexpr uint16_t kInitialized = 1u << 14;
inline constexpr uint16_t kError = 1u << 13;
inline constexpr uint16_t kRunning = 1u << 12;
inline constexpr uint16_t kHostSync = 1u << 11;
inline constexpr uint16_t kExpandedAddressing = 1u << 10;
inline constexpr uint16_t kCrtSync = 1u << 9;
inline constexpr uint16_t kNoSync = 1u << 8;
inline constexpr uint16_t kFactoryTest = 1u << 7;
inline constexpr uint16_t kXoff = 1u << 6;
inline constexpr uint16_t kAsleep = 1u << 5;
inline constexpr uint16_t kFormatMask = 0x1E; // bits 1-4: output format code
inline constexpr uint16_t kStream = 1u << 0;
} // namespace status_word

namespace unit_status {
inline constexpr uint8_t kAccessible = 0x80;
inline constexpr uint8_t kRunning = 0x40;
inline constexpr uint8_t kSensor = 0x20;
inline constexpr uint8_t kExtendedRangeTransmitter = 0x10;
inline constexpr uint8_t kExtendedRangeNumbers = 0x0E; // bits 1-3: transmitter 1..3
inline constexpr uint8_t kTransmitter = 0x01;
inline constexpr uint8_t kTransmitterBits = 0x0F;
// What a stand-alone unit reports for itself: accessible, running, sensor, transmitter.
inline constexpr uint8_t kStandAlone = 0x61;
} // namespace unit_status

// Output format code of bits 1-4 of the status word.
uint8_t dataFormatOfStatusWord(uint16_t statusWord);

// `statusWord` with bits 1-4 replaced by `dataFormat`.
uint16_t statusWordWithDataFormat(uint16_t statusWord, uint8_t dataFormat);

// System status byte: running to bit 7, error to bit 6, CRT sync to bit 0; bit 1 (sync
// type) is kept from `storedSystemStatus` because no unit reports it.
uint8_t systemStatusOfStatusWord(uint16_t statusWord, uint8_t storedSystemStatus);

// Extended-range unit: any of bits 1-3, or bits 0 and 4 together.
bool isExtendedRangeUnit(uint8_t unitStatusByte);
bool hasTransmitter(uint8_t unitStatusByte);
bool hasSensor(uint8_t unitStatusByte);
// Bit 0 without bit 4.
bool hasStandardRangeTransmitter(uint8_t unitStatusByte);
// Count of set bits among bits 0-3.
uint8_t transmitterCount(uint8_t unitStatusByte);
// Number of the extended-range transmitter: 3, 2, 1 for bits 3, 2, 1; else 0.
uint8_t extendedRangeTransmitterNumber(uint8_t unitStatusByte);

// Device `status` byte of a unit at `address`: error bit 7, running bit 6, sensor bit 2,
// transmitter bit 1, and bit 0 when the unit drives the active transmitter (its address
// is the high nibble of `activeTransmitter` and it runs and has a transmitter).
uint8_t deviceStatusOf(uint16_t statusWord, uint8_t unitStatusByte, uint8_t address, uint8_t activeTransmitter);

// Device `transmitterType`: bit 7 extended-range unit, bit 6 standard-range transmitter,
// ((transmitter number) | 4) << 2 when the unit drives the active transmitter, and the
// transmitter count in the low bits.
uint8_t transmitterTypeOf(uint8_t unitStatusByte, bool extendedRangeUnit, uint8_t deviceStatus,
                          uint8_t activeTransmitter);

} // namespace vorn::protocol
