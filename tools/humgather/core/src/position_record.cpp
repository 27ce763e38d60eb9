#include "vorn/humgather/position_record.h"

#include <array>

#include "protocol/data_format.h"
#include "protocol/fvb_prefix.h"
#include "protocol/reading_words.h"
#include "protocol/rs232_record.h"

namespace vorn::humgather {

namespace {

namespace vp = vorn::protocol;

vp::RecordShape shapeOf(int extraBytes, bool groupMode)
{
    vp::RecordShape shape;
    shape.dataFormat = static_cast<std::uint8_t>(vp::DataFormat::PositionAngles);
    shape.button = extraBytes > 0;
    shape.tag = groupMode;
    return shape;
}

} // namespace

std::size_t recordLength(int extraBytes, bool groupMode)
{
    return vp::recordLength(vp::Connection::Rs232, shapeOf(extraBytes, groupMode));
}

PhasingFault checkPhasing(std::span<const std::uint8_t> record)
{
    switch (vp::checkRs232WordPhasing(record, kRecordWords)) {
    case vp::Rs232Phasing::FirstWordUnmarked: return PhasingFault::FirstWord;
    case vp::Rs232Phasing::LaterWordMarked: return PhasingFault::LaterWord;
    case vp::Rs232Phasing::Good: break;
    }
    return PhasingFault::None;
}

PositionRecord decodeRecord(std::span<const std::uint8_t> record, int extraBytes, bool groupMode)
{
    PositionRecord out;
    const vp::RecordShape shape = shapeOf(extraBytes, groupMode);
    VornReading reading {};
    if (!vp::decodeRs232Record(record, shape, reading).ok())
        return out;
    vp::wordsOfReading(shape.dataFormat, reading, out.words);
    out.extra = static_cast<std::uint8_t>(reading.button);
    out.address = vp::rs232RecordTag(record, shape).value_or(0);
    return out;
}

std::optional<std::uint8_t> humgatherPrefix(bool multipleVornsets, bool expandedPrefixes, int address)
{
    if (!multipleVornsets || address <= 0 || address > UINT8_MAX)
        return std::nullopt;
    const auto mode = expandedPrefixes ? vp::AddressingMode::Expanded : vp::AddressingMode::Normal;
    const auto prefix = vp::fvbPrefix(vp::toUnderlying(mode), static_cast<std::uint8_t>(address));
    if (!prefix)
        return std::nullopt;
    return prefix->bytes[0];
}

} // namespace vorn::humgather
