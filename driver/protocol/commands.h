// Command bytes a unit understands, and their readable names for logs.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vorn::protocol {

enum class Command : uint8_t {
    NextTransmitter = 0x30,          // '0' + 1 byte: address << 4 | transmitter
    Stream = 0x40,                   // '@'
    CrtSync = 0x41,                  // 'A' + 1 byte: 0 off, 1 or 2 on
    Point = 0x42,                    // 'B'
    Run = 0x46,                      // 'F'
    Sleep = 0x47,                    // 'G'
    Hemisphere = 0x4C,               // 'L' + axis, sign
    ButtonMode = 0x4D,               // 'M' + 1 byte
    ExamineValue = 0x4F,             // 'O' + parameter
    ChangeValue = 0x50,              // 'P' + parameter + value
    ReportRate1 = 0x51,              // 'Q'
    ReportRate2 = 0x52,              // 'R'
    ReportRate8 = 0x53,              // 'S'
    ReportRate32 = 0x54,             // 'T'
    FormatPosition = 0x56,           // 'V'
    FormatAngles = 0x57,             // 'W'
    FormatMatrix = 0x58,             // 'X'
    FormatPositionAngles = 0x59,     // 'Y'
    FormatPositionMatrix = 0x5A,     // 'Z'
    FormatQuaternion = 0x5C,         // '\'
    FormatPositionQuaternion = 0x5D, // ']'
    HardRestart = 0x62,              // 'b'
    AngleAlign = 0x71,               // 'q' + 3 words
    ReferenceFrame = 0x72,           // 'r' + 3 words
    DistortionSetting = 0x73,        // 's' + field, value
};

// The character a unit sends once per measurement cycle when data ready is on.
inline constexpr uint8_t kDataReadyCharacter = 0x2C; // ','

constexpr uint8_t toByte(Command c)
{
    return static_cast<uint8_t>(c);
}

// Short English name of a command byte ("stream", "examine value"), or "" when unknown.
std::string_view commandName(uint8_t commandByte);

// True when the byte is one of the commands above.
bool isKnownCommand(uint8_t commandByte);

// Argument bytes that follow a command on RS232; -1 for change value, whose length
// depends on the parameter (see parameters.h), and for unknown bytes.
int commandArgumentBytes(uint8_t commandByte);

// A setting value selected by a command without arguments (a data format, a report rate).
struct CommandCode {
    uint8_t code;
    Command command;
};

// The command that selects `code` in `table`, or nullopt when the table has none.
std::optional<Command> commandForCode(std::span<const CommandCode> table, uint8_t code);

// The code that `commandByte` selects in `table`, or nullopt when it is not in the table.
std::optional<uint8_t> codeForCommand(std::span<const CommandCode> table, uint8_t commandByte);

} // namespace vorn::protocol
