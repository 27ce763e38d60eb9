#include "frames/group_frame_decoder.h"

#include "frames/record_layout.h"
#include "group/error_reporter.h"
#include "protocol/data_format.h"
#include "protocol/isa_record.h"
#include "protocol/reading_words.h"
#include "protocol/rs232_record.h"
#include "protocol/word_codec.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

// Largest group frame on any link: 126 units of 28 bytes fit easily.
constexpr std::size_t kFrameBuffer = 4096;

bool onIsa(const VornGroup& group)
{
    return group.mode == ConnectionMode::Isa;
}

protocol::DecodeResult decodeRecord(const VornGroup& group, std::span<const uint8_t> bytes,
                                    const protocol::RecordShape& shape, VornReading& reading)
{
    return onIsa(group) ? protocol::decodeIsaRecord(bytes, shape, reading)
                        : protocol::decodeRs232Record(bytes, shape, reading);
}

} // namespace

FrameDecodeResult decodeGroupFrame(const VornGroup& group, std::span<const uint8_t> bytes, VornFrame& frame)
{
    std::size_t offset = 0;
    const int last = lastUnit(group);
    for (int unit = firstUnit(group); unit <= last; ++unit) {
        if (!deliversRecord(group, unit))
            continue; // sent nothing
        const protocol::RecordShape shape = recordShapeOf(group, unit);
        const auto rest = bytes.subspan(offset);
        const protocol::DecodeResult result = decodeRecord(group, rest, shape, frame.reading[unit]);
        if (result.ok()) {
            offset += result.length;
            continue;
        }
        FrameDecodeResult failure {protocol::DecodeFault::PhasingBit, unit, 0};
        if (result.fault == protocol::DecodeFault::WrongTag) {
            failure.fault = protocol::DecodeFault::WrongTag;
            const std::size_t tagAt =
                protocol::recordLength(onIsa(group) ? protocol::Connection::Isa : protocol::Connection::Rs232, shape) -
                (onIsa(group) ? 2 : 1);
            failure.tag = rest[tagAt];
        }
        return failure;
    }
    return {};
}

int getGroupFrame(VornGroup& group, UnitLink& link, VornFrame& frame)
{
    std::array<uint8_t, kFrameBuffer> bytes;
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(group.expectedFrameLength), bytes.size());
    if (!link.getResponse(group, masterUnit(group), std::span(bytes.data(), length))) {
        reportError("Unable to get frame data from master vorn.");
        setErrorCode(link.connection() == protocol::Connection::Isa ? VORN_ERR_ISA_READ : VORN_ERR_RS232_READ);
        return 0;
    }
    FrameDecodeResult result = decodeGroupFrame(group, std::span(bytes.data(), length), frame);
    if (result.ok() && group.streaming && framesOpenWithPhasingBit(group) && !link.nextFrameMayStart(group))
        result = {protocol::DecodeFault::PhasingBit, firstActiveUnit(group), 0}; // this frame's tail is suspect
    return result.ok() ? 1 : failFaultyFrame(group, link, result);
}

int failFaultyFrame(VornGroup& group, UnitLink& link, const FrameDecodeResult& result)
{
    // In a stream the next frame is found first, so the caller can go on.
    if (group.streaming && !link.resynchronise(group)) {
        setErrorCode(VORN_ERR_PHASE_LOST);
        return 0;
    }
    if (result.fault == protocol::DecodeFault::WrongTag)
        reportError("Incorrect data tag was returned for vorn #%d: %d.", result.unit, result.tag);
    else
        reportError("Phasing bit was not set for vorn #%d.", result.unit);
    setErrorCode(VORN_ERR_PHASE);
    return 0;
}

bool decodeReadingRecord(const VornGroup& group, int unit, std::span<const uint8_t> bytes, VornReading& reading)
{
    reading = VornReading {};
    if (!deliversRecord(group, unit))
        return true;
    const protocol::RecordShape shape = recordShapeOf(group, unit);
    const bool isa = onIsa(group);
    const std::size_t count = static_cast<std::size_t>(protocol::wordsForDataFormat(shape.dataFormat));
    if (bytes.size() < 2 * count + (shape.button ? (isa ? 2 : 1) : 0))
        return false;
    std::array<int16_t, protocol::kMaxRecordWords> words {};
    for (std::size_t i = 0; i < count; ++i)
        words[i] = isa ? static_cast<int16_t>(protocol::readWord(protocol::Connection::Isa, &bytes[2 * i]))
                       : protocol::unpackRs232Word(&bytes[2 * i]);
    protocol::placeWordsInReading(shape.dataFormat, std::span(words.data(), count), reading);
    if (shape.button)
        reading.button = isa ? protocol::readWord(protocol::Connection::Isa, &bytes[2 * count]) : bytes[2 * count];
    return true;
}

} // namespace vorn
