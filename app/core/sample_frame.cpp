#include "core/sample_frame.h"

namespace vornscope {
namespace {

struct FormatEntry {
    std::uint8_t code;
    FormatIndex index;
    std::uint8_t content;
    int replyBytes;
};

constexpr FormatEntry kFormats[] = {
    {1, FormatIndex::Position, content::kPosition, 6},
    {2, FormatIndex::Angles, content::kAngles, 6},
    {4, FormatIndex::PositionAngles, content::kPosition | content::kAngles, 12},
    {3, FormatIndex::Matrix, content::kMatrix, 18},
    {5, FormatIndex::PositionMatrix, content::kPosition | content::kMatrix, 24},
    {7, FormatIndex::Quaternion, content::kQuaternion, 8},
    {8, FormatIndex::PositionQuaternion, content::kPosition | content::kQuaternion, 14},
};

const FormatEntry* entryOfCode(std::uint8_t code)
{
    for (const FormatEntry& entry : kFormats)
        if (entry.code == code)
            return &entry;
    return nullptr;
}

constexpr double kFullScaleCount = 32767.0;

} // namespace

FormatIndex formatIndexOfCode(std::uint8_t dataFormat)
{
    const FormatEntry* entry = entryOfCode(dataFormat);
    return entry ? entry->index : FormatIndex::Other;
}

std::uint8_t dataFormatCode(FormatIndex index)
{
    for (const FormatEntry& entry : kFormats)
        if (entry.index == index)
            return entry.code;
    return 0;
}

std::uint8_t contentOfFormat(std::uint8_t dataFormat, bool buttonData)
{
    const FormatEntry* entry = entryOfCode(dataFormat);
    const std::uint8_t bits = entry ? entry->content : 0;
    return static_cast<std::uint8_t>(bits | (buttonData ? content::kButton : 0));
}

int formatReplyBytes(std::uint8_t dataFormat)
{
    const FormatEntry* entry = entryOfCode(dataFormat);
    return entry ? entry->replyBytes : 0;
}

SensorRecord sensorFromReading(const VornReading& reading, double range, std::uint8_t contentBits)
{
    SensorRecord sensor;
    for (int i = 0; i < 3; ++i) {
        sensor.position[i] = reading.position[i] * range / kFullScaleCount;
        sensor.angles[i] = reading.angles[i] * 180.0 / kFullScaleCount;
    }
    for (int i = 0; i < 9; ++i)
        sensor.matrix[i] = reading.matrix[i] / kFullScaleCount;
    for (int i = 0; i < 4; ++i)
        sensor.quaternion[i] = reading.quaternion[i] / kFullScaleCount;
    sensor.button = static_cast<std::int16_t>(reading.button);
    sensor.content = contentBits;
    return sensor;
}

const char* buttonText(int value)
{
    switch (value) {
    case button::kLeft: return "Left Button Pressed";
    case button::kMiddle: return "Middle Button Pressed";
    case button::kRight: return "Right Button Pressed";
    default: return "";
    }
}

} // namespace vornscope
