// Decodes what the master sends for one frame in group mode (or what a
// stand-alone unit sends for one record): the records of every unit with a
// sensor, in address order, each checked for its phasing flag and tag.
#pragma once

#include "group/group.h"
#include "protocol/decode_result.h"
#include "transports/unit_link.h"

#include <cstdint>
#include <span>

namespace vorn {

struct FrameDecodeResult {
    protocol::DecodeFault fault = protocol::DecodeFault::None;
    int unit = 0; // the unit whose record failed
    int tag = 0;  // the tag it sent, for a wrong tag

    bool ok() const { return fault == protocol::DecodeFault::None; }
};

// Fills the readings of `frame` (which the caller has zeroed) from `bytes`.
// Too few bytes for the records count as a phase error of the unit whose
// record is cut short.
FrameDecodeResult decodeGroupFrame(const VornGroup& group, std::span<const uint8_t> bytes, VornFrame& frame);

// A frame with a phasing or tag fault: in a stream the next frame is found
// first (if that fails: code 34), then the fault is reported with code 33.
// Returns 0 for the caller to return.
int failFaultyFrame(VornGroup& group, UnitLink& link, const FrameDecodeResult& result);

// Reads one frame (the group's expected frame length) from the master and
// decodes it into `frame`, which the caller has zeroed. A failed read reports
// "Unable to get frame data from master vorn." with the link's read code
// (VORN_ERR_RS232_READ or VORN_ERR_ISA_READ); a faulty frame goes through
// failFaultyFrame. Returns 0 on failure, else 1.
int getGroupFrame(VornGroup& group, UnitLink& link, VornFrame& frame);

// Decodes one record without looking at its phasing flag or tag, as single
// readings do. Returns false when `bytes` is too short.
bool decodeReadingRecord(const VornGroup& group, int unit, std::span<const uint8_t> bytes, VornReading& reading);

} // namespace vorn
