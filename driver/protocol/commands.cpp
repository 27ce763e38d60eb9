#include "protocol/commands.h"

#include <array>

namespace vorn::protocol {

namespace {

struct CommandInfo {
    Command command;
    std::string_view name;
    int argumentBytes;
};

constexpr std::array kCommands = {
    CommandInfo {Command::NextTransmitter, "next transmitter", 1},
    CommandInfo {Command::Stream, "stream", 0},
    CommandInfo {Command::CrtSync, "crt sync", 1},
    CommandInfo {Command::Point, "point", 0},
    CommandInfo {Command::Run, "run", 0},
    CommandInfo {Command::Sleep, "sleep", 0},
    CommandInfo {Command::Hemisphere, "hemisphere", 2},
    CommandInfo {Command::ButtonMode, "button mode", 1},
    CommandInfo {Command::ExamineValue, "examine value", 1},
    CommandInfo {Command::ChangeValue, "change value", -1},
    CommandInfo {Command::ReportRate1, "report rate 1", 0},
    CommandInfo {Command::ReportRate2, "report rate 2", 0},
    CommandInfo {Command::ReportRate8, "report rate 8", 0},
    CommandInfo {Command::ReportRate32, "report rate 32", 0},
    CommandInfo {Command::FormatPosition, "data format position", 0},
    CommandInfo {Command::FormatAngles, "data format angles", 0},
    CommandInfo {Command::FormatMatrix, "data format matrix", 0},
    CommandInfo {Command::FormatPositionAngles, "data format position/angles", 0},
    CommandInfo {Command::FormatPositionMatrix, "data format position/matrix", 0},
    CommandInfo {Command::FormatQuaternion, "data format quaternion", 0},
    CommandInfo {Command::FormatPositionQuaternion, "data format position/quaternion", 0},
    CommandInfo {Command::HardRestart, "hard restart", 0},
    CommandInfo {Command::AngleAlign, "angle align", 6},
    CommandInfo {Command::ReferenceFrame, "reference frame", 6},
    CommandInfo {Command::DistortionSetting, "distortion detection setting", 2},
};

const CommandInfo* find(uint8_t commandByte)
{
    for (const auto& info : kCommands) {
        if (toByte(info.command) == commandByte) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace

std::string_view commandName(uint8_t commandByte)
{
    const CommandInfo* info = find(commandByte);
    return info ? info->name : std::string_view {};
}

bool isKnownCommand(uint8_t commandByte)
{
    return find(commandByte) != nullptr;
}

int commandArgumentBytes(uint8_t commandByte)
{
    const CommandInfo* info = find(commandByte);
    return info ? info->argumentBytes : -1;
}

std::optional<Command> commandForCode(std::span<const CommandCode> table, uint8_t code)
{
    for (const auto& entry : table) {
        if (entry.code == code) {
            return entry.command;
        }
    }
    return std::nullopt;
}

std::optional<uint8_t> codeForCommand(std::span<const CommandCode> table, uint8_t commandByte)
{
    for (const auto& entry : table) {
        if (toByte(entry.command) == commandByte) {
            return entry.code;
        }
    }
    return std::nullopt;
}

} // namespace vorn::protocol
