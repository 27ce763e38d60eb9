// The ISA side of a group: a board with a data and a status/control port at
// each base address, the master's board carrying commands for the units
// without one (behind an FVB address prefix). Every transfer is a word;
// every wait for a status bit is bounded by the group's time-outs.
#pragma once

#include "platform/port_io.h"
#include "transports/unit_link.h"

#include <vorn/vorn.h>

#include <array>
#include <memory>

namespace vorn {

class IsaTransport final : public UnitLink {
public:
    static constexpr uint16_t kClearWord = 0x6600;
    static constexpr uint16_t kPointWord = 0x4200;
    static constexpr uint16_t kCanTakeWord = 0x0001;   // status bit 0
    static constexpr uint16_t kAnswerWaiting = 0x0002; // status bit 1

    explicit IsaTransport(std::shared_ptr<platform::PortIo> ports) : ports_(std::move(ports)) {}

    protocol::Connection connection() const override { return protocol::Connection::Isa; }

    void setBase(int unit, uint16_t base) { bases_[static_cast<std::size_t>(unit)] = base; }
    bool hasBoard(int unit) const
    {
        return unit >= 0 && unit < VORN_UNIT_COUNT && bases_[static_cast<std::size_t>(unit)] != 0;
    }
    uint16_t base(int unit) const { return bases_[static_cast<std::size_t>(unit)]; }
    // The unit whose board carries traffic for `unit`: itself, or the master.
    int boardOwner(const VornGroup& group, int unit) const;

    bool send(VornGroup& group, int unit, std::span<const uint8_t> bytes) override;
    bool getResponse(VornGroup& group, int unit, std::span<uint8_t> bytes) override;
    // Whether the unit's board has an answer word waiting (its status bit 1).
    bool ready(VornGroup& group, int unit, std::size_t bytes) override;
    bool clearBuffer(VornGroup& group, int unit) override;
    bool resynchronise(VornGroup& group) override;

    // Holds every board in reset for 500 ms, then lets it run 4000 ms.
    bool reset(VornGroup& group) override;
    // Sends the point command to one board of its own once it can take a
    // word (single frames of a vornset trigger each board separately).
    bool trigger(VornGroup& group, int unit);
    // Leaves every board in reset.
    void close(VornGroup& group) override;

private:
    enum class Wait { Set, TimedOut, Failed };
    Wait waitForStatus(uint16_t base, uint16_t bit, uint64_t startMs, uint32_t timeoutMs);
    // Port accesses of an operation that started at `startMs` with `timeoutMs`:
    // each fails rather than end later than a short grace after that time-out,
    // so a stalling port cannot hold a call much past its time-out.
    bool readPort(uint16_t port, uint16_t& word, uint64_t startMs, uint32_t timeoutMs);
    bool writePort(uint16_t port, uint16_t word, uint64_t startMs, uint32_t timeoutMs);
    bool writeControlEverywhere(const VornGroup& group, uint16_t value);

    std::shared_ptr<platform::PortIo> ports_;
    std::array<uint16_t, VORN_UNIT_COUNT> bases_ {};
};

// The group's ISA transport, or nullptr when it is not an ISA group.
IsaTransport* isaTransportOf(VornGroup& group);

} // namespace vorn
