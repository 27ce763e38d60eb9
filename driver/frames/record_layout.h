// Where each unit's data record sits in what the units send: the shape of
// one unit's record on the group's link, the expected length of a group
// frame, and the last unit that sends data in it.
#pragma once

#include "group/group.h"
#include "group/units.h"
#include "protocol/record_shape.h"

#include <cstddef>

namespace vorn {

// Whether the unit sends data at all (its sensor bit).
bool deliversRecord(const VornGroup& group, int unit);
// Whether the unit takes part in a frame: a sensor and a data format.
bool takesPart(const VornGroup& group, int unit);

// The unit's record now: its data format and button flag, and in group
// mode the address tag. A master older than 3.64 sends no tag after its
// own record, so none is expected or checked there.
protocol::RecordShape recordShapeOf(const VornGroup& group, int unit);

// Bytes one record of the unit occupies on the group's link (0 without a
// sensor; formats that carry no words count only button and tag).
std::size_t expectedRecordLength(const VornGroup& group, int unit);

// Bytes of a whole frame from the master: unit 0 alone, or units 1..N.
std::size_t expectedFrameLength(const VornGroup& group);

// The highest unit 1..N with a sensor (0 when stand-alone or none).
int lastActiveUnit(const VornGroup& group);

// The unit whose record opens a frame (the first with a sensor), or -1 when
// no unit sends one.
int firstActiveUnit(const VornGroup& group);

// Whether a frame's first byte carries the phasing bit: its first record has
// words (a format without words sends only its button and tag bytes).
bool framesOpenWithPhasingBit(const VornGroup& group);

// What a ready query answers for "yes": a board's data-available bit (2)
// on ISA, 1 elsewhere.
int readyAnswer(const VornGroup& group);

} // namespace vorn
