// The RS232 side of a group: one serial line per unit that has a port of its
// own (the master always has one), the FVB address prefix for the others,
// responses of a known length within the read time-out, the RTS reset and
// the search for a frame boundary after a phase error.
#pragma once

#include "platform/serial_line.h"
#include "transports/unit_link.h"

#include <vorn/vorn.h>

#include <array>
#include <memory>

namespace vorn {

class SerialTransport final : public UnitLink {
public:
    // Largest prefixed command: the units' command buffer.
    static constexpr std::size_t kPrefixedCommandBuffer = 64;

    protocol::Connection connection() const override { return protocol::Connection::Rs232; }

    // Opens COM<port> for a unit and sets it up. Reports "Unable to open
    // comport %u." or "Unable to set comport state." on failure.
    bool openLine(int unit, unsigned port, uint32_t baudRate);
    bool hasLine(int unit) const;

    bool send(VornGroup& group, int unit, std::span<const uint8_t> bytes) override;
    bool getResponse(VornGroup& group, int unit, std::span<uint8_t> bytes) override;
    bool ready(VornGroup& group, int unit, std::size_t bytes) override;
    // Bytes waiting on the unit's line (its own, else the master's).
    std::size_t queued(VornGroup& group, int unit);
    bool clearBuffer(VornGroup& group, int unit) override;
    bool resynchronise(VornGroup& group) override;
    // A byte already waiting after a frame must carry the phasing bit: a
    // record without tags whose tail was lost or overwritten shows it there.
    bool nextFrameMayStart(VornGroup& group) override;

    // The RTS pulse that resets every unit with a line: 500 ms asserted,
    // then 4000 ms before anything may be sent.
    bool reset(VornGroup& group) override;
    // Asserts RTS and closes every line.
    void close(VornGroup& group) override;

    // The unit whose line carries traffic for `unit`: itself, or the master.
    int lineOwner(const VornGroup& group, int unit) const;
    // The descriptor to poll for input from `unit`, or -1.
    int descriptor(const VornGroup& group, int unit) const;

private:
    platform::SerialLine* line(int unit) const { return lines_[static_cast<std::size_t>(unit)].get(); }
    bool setRtsEverywhere(const VornGroup& group, bool asserted);

    std::array<std::unique_ptr<platform::SerialLine>, VORN_UNIT_COUNT> lines_;
};

// The group's serial transport, or nullptr when it is not an RS232 group.
SerialTransport* serialTransportOf(VornGroup& group);

} // namespace vorn
