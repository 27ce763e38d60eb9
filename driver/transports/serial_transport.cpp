#include "transports/serial_transport.h"

#include "group/error_reporter.h"
#include "group/group.h"
#include "group/units.h"
#include "platform/clock.h"
#include "platform/pump_wait.h"
#include "platform/thread_context.h"
#include "transports/prefixed_command.h"

#include <cstring>

namespace vorn {

namespace {

constexpr uint32_t kRtsPulseMs = 500;
constexpr uint32_t kAfterResetMs = 4000;
constexpr int kResynchSearchBytes = 4000;
constexpr uint8_t kPhasingBit = 0x80;

bool quitPending()
{
    return platform::ThreadContext::current()->quitPending();
}

} // namespace

SerialTransport* serialTransportOf(VornGroup& group)
{
    if (group.mode != ConnectionMode::Rs232)
        return nullptr;
    return dynamic_cast<SerialTransport*>(group.transport.get());
}

bool SerialTransport::openLine(int unit, unsigned port, uint32_t baudRate)
{
    auto opened = std::make_unique<platform::SerialLine>();
    const std::string path = platform::SerialLine::pathForPort(port);
    if (!opened->open(path)) {
        reportError("Unable to open comport %u.", port);
        return false;
    }
    if (!opened->configure(baudRate)) {
        reportError("Unable to set comport state.");
        return false;
    }
    lines_[static_cast<std::size_t>(unit)] = std::move(opened);
    return true;
}

bool SerialTransport::hasLine(int unit) const
{
    return unit >= 0 && unit < VORN_UNIT_COUNT && line(unit) != nullptr && line(unit)->isOpen();
}

int SerialTransport::lineOwner(const VornGroup& group, int unit) const
{
    return hasLine(unit) ? unit : masterUnit(group);
}

int SerialTransport::descriptor(const VornGroup& group, int unit) const
{
    const int owner = lineOwner(group, unit);
    return hasLine(owner) ? line(owner)->fd() : -1;
}

bool SerialTransport::send(VornGroup& group, int unit, std::span<const uint8_t> bytes)
{
    int owner = unit;
    PrefixedCommand prefixed;
    std::span<const uint8_t> out = bytes;
    if (!hasLine(unit)) {
        owner = masterUnit(group);
        if (!prefixed.build(group.addressingMode, unit, bytes))
            return false;
        out = prefixed.bytes();
    }
    if (!clearBuffer(group, owner))
        return false;
    platform::SerialLine* target = line(owner);
    if (target->write(out.data(), out.size(), group.writeTimeoutMs) != out.size()) {
        reportError("Unable to write %d bytes to vorn #%d.", static_cast<int>(out.size()), owner);
        return false;
    }
    return true;
}

bool SerialTransport::getResponse(VornGroup& group, int unit, std::span<uint8_t> bytes)
{
    const int owner = lineOwner(group, unit);
    const int count = static_cast<int>(bytes.size());
    platform::SerialLine* source = hasLine(owner) ? line(owner) : nullptr;
    if (source == nullptr) {
        reportError("Unable to read %d bytes from vorn #%d.", count, owner);
        return false;
    }
    const uint64_t start = platform::nowMs();
    const uint64_t deadline = start + group.readTimeoutMs;
    while (true) {
        if (quitPending())
            return false;
        const bool alive = source->fill();
        if (source->take(bytes.data(), bytes.size()))
            return true;
        // A line whose other end is gone will never deliver the rest.
        if (!alive || platform::nowMs() - start >= group.readTimeoutMs) {
            reportError("Unable to read %d bytes from vorn #%d.", count, owner);
            return false;
        }
        if (platform::PumpWait::untilReadable(source->fd(), deadline) == platform::WaitResult::Quit)
            return false;
    }
}

bool SerialTransport::nextFrameMayStart(VornGroup& group)
{
    const int master = lineOwner(group, masterUnit(group));
    if (!hasLine(master))
        return true;
    platform::SerialLine* source = line(master);
    source->fill();
    const std::optional<uint8_t> next = source->peek();
    return !next || (*next & kPhasingBit) != 0;
}

std::size_t SerialTransport::queued(VornGroup& group, int unit)
{
    const int owner = lineOwner(group, unit);
    if (!hasLine(owner))
        return 0;
    platform::SerialLine* source = line(owner);
    source->fill();
    return source->queued();
}

bool SerialTransport::ready(VornGroup& group, int unit, std::size_t bytes)
{
    return queued(group, unit) >= bytes;
}

bool SerialTransport::clearBuffer(VornGroup&, int unit)
{
    if (!hasLine(unit)) {
        reportError("Unable to clear RS232 receive buffer for vorn #%d:  No comport is associated with this device.",
                    unit);
        return false;
    }
    line(unit)->purgeInput();
    return true;
}

bool SerialTransport::setRtsEverywhere(const VornGroup& group, bool asserted)
{
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit) {
        if (hasLine(unit) && !line(unit)->setRts(asserted)) {
            reportError(asserted ? "Unable to set RTS line on comport." : "Unable to clear RTS line on comport.");
            return false;
        }
    }
    return true;
}

bool SerialTransport::reset(VornGroup& group)
{
    return setRtsEverywhere(group, true) && platform::PumpWait::forMilliseconds(kRtsPulseMs) &&
           setRtsEverywhere(group, false) && platform::PumpWait::forMilliseconds(kAfterResetMs);
}

bool SerialTransport::resynchronise(VornGroup& group)
{
    const int master = masterUnit(group);
    uint8_t previous = 0;
    bool found = false;
    for (int i = 0; i < kResynchSearchBytes && !found; ++i) {
        uint8_t byte = 0;
        if (!getResponse(group, master, std::span(&byte, 1)))
            return notEnoughBytes();
        // A record's first byte carries the phasing bit; in group mode the
        // frame before it ended with the last active unit's tag.
        found = (byte & kPhasingBit) != 0 && (group.standAlone || previous == group.lastActiveUnit);
        previous = byte;
    }
    if (!found) {
        reportError("Unable to resynchronize comport after phase error.");
        return false;
    }
    return dropRestOfFrame(group, 1);
}

void SerialTransport::close(VornGroup&)
{
    // The line objects stay: a call waiting on one (its group shut down by a
    // pump hook) finds it closed and fails instead of touching freed memory.
    for (auto& owned : lines_) {
        if (owned && owned->isOpen()) {
            owned->setRts(true); // left asserted, as in the first half of a reset
            owned->close();
        }
    }
}

} // namespace vorn
