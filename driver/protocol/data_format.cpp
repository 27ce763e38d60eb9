#include "protocol/data_format.h"

#include <array>

namespace vorn::protocol {

namespace {

constexpr std::array<int, 9> kWordsPerFormat = {0, 3, 3, 9, 6, 12, 0, 4, 7};

constexpr std::array kFormatCommands = {
    CommandCode {1, Command::FormatPosition},
    CommandCode {2, Command::FormatAngles},
    CommandCode {3, Command::FormatMatrix},
    CommandCode {4, Command::FormatPositionAngles},
    CommandCode {5, Command::FormatPositionMatrix},
    CommandCode {7, Command::FormatQuaternion},
    CommandCode {8, Command::FormatPositionQuaternion},
};

} // namespace

int wordsForDataFormat(uint8_t dataFormat)
{
    return dataFormat < kWordsPerFormat.size() ? kWordsPerFormat[dataFormat] : 0;
}

bool isValidDataFormat(uint8_t dataFormat)
{
    return dataFormat <= 8 && dataFormat != 6;
}

FormatFields fieldsOfDataFormat(uint8_t dataFormat)
{
    switch (static_cast<DataFormat>(dataFormat)) {
    case DataFormat::Position: return {true, false, false, false};
    case DataFormat::Angles: return {false, true, false, false};
    case DataFormat::Matrix: return {false, false, true, false};
    case DataFormat::PositionAngles: return {true, true, false, false};
    case DataFormat::PositionMatrix: return {true, false, true, false};
    case DataFormat::Quaternion: return {false, false, false, true};
    case DataFormat::PositionQuaternion: return {true, false, false, true};
    default: return {};
    }
}

std::optional<Command> dataFormatCommand(uint8_t dataFormat)
{
    return commandForCode(kFormatCommands, dataFormat);
}

std::optional<uint8_t> dataFormatOfCommand(uint8_t commandByte)
{
    return codeForCommand(kFormatCommands, commandByte);
}

} // namespace vorn::protocol
