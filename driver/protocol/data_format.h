// Data format codes: the words a record of each carries and the command that selects each.
#pragma once

#include "protocol/commands.h"

#include <cstdint>
#include <optional>

namespace vorn::protocol {

enum class DataFormat : uint8_t {
    None = 0,
    Position = 1,
    Angles = 2,
    Matrix = 3,
    PositionAngles = 4,
    PositionMatrix = 5,
    FactoryCalibration = 6, // never accepted from a caller or a record
    Quaternion = 7,
    PositionQuaternion = 8,
};

// Largest number of words any record carries (position/matrix).
inline constexpr int kMaxRecordWords = 12;

// Words per data format code 0..8; code 6 and codes above 8 carry none.
int wordsForDataFormat(uint8_t dataFormat);

// True for the codes a unit can be set to and a record may carry: 0-5, 7, 8.
bool isValidDataFormat(uint8_t dataFormat);

// Which reading fields a format fills, in record order (position first when combined).
struct FormatFields {
    bool position = false;
    bool angles = false;
    bool matrix = false;
    bool quaternion = false;
};
FormatFields fieldsOfDataFormat(uint8_t dataFormat);

// The command that selects a format: V W X Y Z \ ]. None for 0 (the unit keeps its
// format) and for codes that are refused.
std::optional<Command> dataFormatCommand(uint8_t dataFormat);

// The format a data format command selects, or nullopt when the byte is no such command.
std::optional<uint8_t> dataFormatOfCommand(uint8_t commandByte);

} // namespace vorn::protocol
