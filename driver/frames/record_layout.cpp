#include "frames/record_layout.h"

#include "protocol/data_format.h"

#include <algorithm>

namespace vorn {

namespace {

constexpr uint8_t kSensorBit = 0x04;
constexpr uint8_t kButtonBit = 0x08;
constexpr uint16_t kFirstTaggingMasterRevision = 0x0340; // 3.64

const VornDeviceConfig& configOf(const VornGroup& group, int unit)
{
    return group.deviceConfig[static_cast<std::size_t>(unit)];
}

protocol::Connection connectionOf(const VornGroup& group)
{
    return group.mode == ConnectionMode::Isa ? protocol::Connection::Isa : protocol::Connection::Rs232;
}

} // namespace

int readyAnswer(const VornGroup& group)
{
    return group.mode == ConnectionMode::Isa ? 2 : 1;
}

bool deliversRecord(const VornGroup& group, int unit)
{
    return (configOf(group, unit).status & kSensorBit) != 0;
}

bool takesPart(const VornGroup& group, int unit)
{
    return deliversRecord(group, unit) && configOf(group, unit).dataFormat != 0;
}

protocol::RecordShape recordShapeOf(const VornGroup& group, int unit)
{
    const VornDeviceConfig& config = configOf(group, unit);
    protocol::RecordShape shape;
    // Formats no record may carry decode as no words.
    shape.dataFormat = protocol::isValidDataFormat(config.dataFormat) ? config.dataFormat : 0;
    shape.button = (config.setup & kButtonBit) != 0;
    shape.tag = group.groupModeActive &&
                (unit != masterUnit(group) || group.systemConfig.softwareRevision >= kFirstTaggingMasterRevision);
    shape.checkTag = shape.tag;
    shape.address = static_cast<uint8_t>(unit);
    return shape;
}

std::size_t expectedRecordLength(const VornGroup& group, int unit)
{
    if (!deliversRecord(group, unit))
        return 0;
    if (group.mode != ConnectionMode::Rs232 && group.mode != ConnectionMode::Isa)
        return 2 * static_cast<std::size_t>(protocol::wordsForDataFormat(configOf(group, unit).dataFormat));
    return protocol::recordLength(connectionOf(group), recordShapeOf(group, unit));
}

std::size_t expectedFrameLength(const VornGroup& group)
{
    std::size_t length = 0;
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit)
        length += expectedRecordLength(group, unit);
    return length;
}

int firstActiveUnit(const VornGroup& group)
{
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit)
        if (deliversRecord(group, unit))
            return unit;
    return -1;
}

bool framesOpenWithPhasingBit(const VornGroup& group)
{
    const int first = firstActiveUnit(group);
    return first >= 0 && protocol::wordsForDataFormat(recordShapeOf(group, first).dataFormat) > 0;
}

int lastActiveUnit(const VornGroup& group)
{
    if (group.standAlone)
        return 0;
    for (int unit = lastUnit(group); unit >= 1; --unit)
        if (deliversRecord(group, unit))
            return unit;
    return 0;
}

} // namespace vorn
