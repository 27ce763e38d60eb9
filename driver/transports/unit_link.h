// A transport that speaks the units' command set byte by byte: RS232 lines
// now, ISA boards later. Configuration, readings and frames talk to units
// only through this interface, so their logic is written once for both.
#pragma once

#include "group/transport.h"
#include "protocol/connection.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorn {

class UnitLink : public Transport {
public:
    // Byte order and record packing of this link.
    virtual protocol::Connection connection() const = 0;

    // Sends command bytes to a unit: on its own line or board, or through
    // the master with an address prefix. Reports its own failure message.
    virtual bool send(VornGroup& group, int unit, std::span<const uint8_t> bytes) = 0;
    // Reads exactly bytes.size() bytes that the unit sent, waiting at most the
    // group's read time-out; never consumes part of an answer. Reports its
    // own failure message; fails silently when the wait is cancelled.
    virtual bool getResponse(VornGroup& group, int unit, std::span<uint8_t> bytes) = 0;
    // Whether `bytes` bytes from the unit can be read without waiting (on
    // RS232: that many are queued on its line or the master's).
    virtual bool ready(VornGroup& group, int unit, std::size_t bytes) = 0;
    // Discards what is waiting on the unit's own line or board.
    virtual bool clearBuffer(VornGroup& group, int unit) = 0;
    // Finds the start of the next frame of a stream after a phase error.
    virtual bool resynchronise(VornGroup& group) = 0;
    // Whether what already waits after a stream's frame may start the next
    // one; a link that cannot tell without waiting says yes.
    virtual bool nextFrameMayStart(VornGroup&) { return true; }
    // Resets every unit the link reaches and waits until they can listen.
    virtual bool reset(VornGroup& group) = 0;

protected:
    // The end of a resynchronisation that has found a frame's first record,
    // `taken` bytes of which it has read: reads and drops the rest of that
    // frame from the master.
    bool dropRestOfFrame(VornGroup& group, std::size_t taken);
    // A resynchronisation that ran out of bytes: says so, unless the wait was
    // cancelled. Returns false.
    static bool notEnoughBytes();
};

// The group's link to its units, or nullptr when it speaks no command set
// (TCP/IP) or has none yet.
UnitLink* unitLinkOf(VornGroup& group);

} // namespace vorn
