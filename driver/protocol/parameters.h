// The examine-value and change-value parameters: numbers, menu names, answer and value sizes.
#pragma once

#include "protocol/connection.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vorn::protocol {

enum class Parameter : uint8_t {
    Status = 0,
    SoftwareRevision = 1,
    CrystalSpeed = 2,
    RangeScaling = 3,
    FilterStatus = 4,
    AlphaMin = 5,
    MeasurementRateCount = 6,
    MeasurementRate = 7,
    DataReadyCharacter = 8,
    ErrorCode = 10,
    ErrorDetectMask = 11,
    VmTable = 12,
    AlphaMax = 13,
    SuddenOutputChangeLock = 14,
    ModelIdentification = 15,
    RotateXyzWithReferenceFrame = 17,
    TransmitterOperationMode = 18,
    AddressingMode = 19,
    FilterLineFrequency = 20,
    UnitSerialNumber = 25,
    SensorSerialNumber = 26,
    TransmitterSerialNumber = 27,
    MetalDetection = 28,
    ReportRate = 29,
    GroupMode = 35,
    SystemStatus = 36,
    FvbAutoConfiguration = 50,
};

// What change value takes after the parameter number.
enum class ValueWidth : uint8_t {
    None,       // read-only parameter
    Byte,       // one byte on every link
    ByteOrWord, // one byte on RS232, a whole word on ISA
    Word,       // one 16-bit word
    Words,      // `valueWords` words
};

struct ParameterInfo {
    Parameter parameter;
    std::string_view name; // as the diagnostic menus show it
    uint8_t answerBytes;   // RS232 answer to examine value; 0: not examinable or mode-dependent
    ValueWidth valueWidth;
    uint8_t valueWords; // for ValueWidth::Words
};

inline constexpr uint8_t toByte(Parameter p)
{
    return static_cast<uint8_t>(p);
}

// Every known parameter, in number order.
std::span<const ParameterInfo> parameterTable();

// The entry for a parameter number, or nullptr when the number is unknown.
const ParameterInfo* findParameter(uint8_t number);

// Answer length in bytes of examine value on RS232 for the master's addressing mode
// (0 normal, 1 expanded, 2 super-expanded). System status and auto-configuration
// grow with the mode. Unknown or write-only parameters: nullopt.
std::optional<std::size_t> examineAnswerBytes(uint8_t number, uint8_t addressingMode);

// The same answer as read over ISA: whole words, so an odd RS232 length rounds up.
std::optional<std::size_t> isaAnswerBytes(uint8_t number, uint8_t addressingMode);

// Bytes of value that follow the parameter number in change value on this link;
// nullopt for parameters that cannot be changed or are unknown.
std::optional<std::size_t> changeValueBytes(uint8_t number, Connection connection);

// Status bytes the system status answer carries for an addressing mode: 14, 30, 126.
std::size_t systemStatusBytes(uint8_t addressingMode);

} // namespace vorn::protocol
