#include "transports/isa_transport.h"

#include "group/error_reporter.h"
#include "group/group.h"
#include "group/units.h"
#include "platform/clock.h"
#include "platform/pump_wait.h"
#include "platform/thread_context.h"
#include "protocol/isa_record.h"
#include "protocol/word_codec.h"
#include "transports/prefixed_command.h"

#include <algorithm>

namespace vorn {

namespace {

constexpr uint32_t kResetPulseMs = 500;
constexpr uint32_t kAfterResetMs = 4000;
constexpr int kResynchSearchWords = 2000;
// Between two looks at a status bit that is not set yet.
constexpr uint32_t kStatusPollMs = 1;
// How long past its time-out an operation may still take a word that was
// already waiting when the time-out came.
constexpr uint32_t kAccessGraceMs = 200;

// What is left of an operation's time for one more port access; 0: none.
uint32_t accessLimitMs(uint64_t startMs, uint32_t timeoutMs)
{
    const uint64_t end = startMs + timeoutMs + kAccessGraceMs;
    const uint64_t now = platform::nowMs();
    return now < end ? static_cast<uint32_t>(std::min<uint64_t>(end - now, platform::PortIo::kAccessLimitMs)) : 0;
}

uint16_t dataPort(uint16_t base)
{
    return base;
}
uint16_t statusPort(uint16_t base)
{
    return static_cast<uint16_t>(base + 2);
}

} // namespace

IsaTransport* isaTransportOf(VornGroup& group)
{
    if (group.mode != ConnectionMode::Isa)
        return nullptr;
    return dynamic_cast<IsaTransport*>(group.transport.get());
}

int IsaTransport::boardOwner(const VornGroup& group, int unit) const
{
    return hasBoard(unit) ? unit : masterUnit(group);
}

bool IsaTransport::readPort(uint16_t port, uint16_t& word, uint64_t startMs, uint32_t timeoutMs)
{
    const uint32_t limit = accessLimitMs(startMs, timeoutMs);
    if (ports_ && limit > 0 && ports_->read(port, word, limit))
        return true;
    reportError("Unable to read ISA port at address 0x%04X.", port);
    word = 0;
    return false;
}

bool IsaTransport::writePort(uint16_t port, uint16_t word, uint64_t startMs, uint32_t timeoutMs)
{
    const uint32_t limit = accessLimitMs(startMs, timeoutMs);
    if (ports_ && limit > 0 && ports_->write(port, word, limit))
        return true;
    reportError("Unable to write to ISA port at address 0x%04X.", port);
    return false;
}

// A port that cannot be read will not become readable by waiting: the wait
// fails at once rather than repeat the failure until its time-out.
IsaTransport::Wait IsaTransport::waitForStatus(uint16_t base, uint16_t bit, uint64_t startMs, uint32_t timeoutMs)
{
    for (;;) {
        uint16_t status = 0;
        if (!readPort(statusPort(base), status, startMs, timeoutMs))
            return Wait::Failed;
        if (status & bit)
            return Wait::Set;
        if (platform::nowMs() - startMs >= timeoutMs)
            return Wait::TimedOut;
        if (!platform::PumpWait::forMilliseconds(kStatusPollMs))
            return Wait::Failed; // quit: silent
    }
}

bool IsaTransport::send(VornGroup& group, int unit, std::span<const uint8_t> bytes)
{
    int owner = unit;
    PrefixedCommand prefixed;
    std::span<const uint8_t> out = bytes;
    if (!hasBoard(unit)) {
        owner = masterUnit(group);
        if (!prefixed.build(group.addressingMode, unit, bytes))
            return false;
        out = prefixed.bytes();
    }
    if (!hasBoard(owner)) {
        reportError("Unable to write %d bytes to vorn #%d at address 0x%04X.", static_cast<int>(out.size()), owner, 0);
        return false;
    }
    const uint64_t start = platform::nowMs();
    if (!clearBuffer(group, owner))
        return false;
    const uint16_t board = base(owner);
    // Word by word: a pass-through command may be longer than any buffer.
    for (std::size_t at = 0; at < out.size(); at += 2) {
        uint16_t word = 0;
        protocol::packIsaWords(out.subspan(at, std::min<std::size_t>(2, out.size() - at)), std::span(&word, 1));
        const Wait waited = waitForStatus(board, kCanTakeWord, start, group.writeTimeoutMs);
        if (waited == Wait::TimedOut)
            reportError("Unable to write %d bytes to vorn #%d at address 0x%04X.", static_cast<int>(out.size()), owner,
                        board);
        if (waited != Wait::Set || !writePort(dataPort(board), word, start, group.writeTimeoutMs))
            return false;
    }
    return true;
}

bool IsaTransport::getResponse(VornGroup& group, int unit, std::span<uint8_t> bytes)
{
    const int owner = boardOwner(group, unit);
    const int count = static_cast<int>(bytes.size());
    if (!hasBoard(owner)) {
        reportError("Unable to read %d bytes from vorn #%d at address 0x%04X.", count, owner, 0);
        return false;
    }
    const uint16_t board = base(owner);
    const uint64_t start = platform::nowMs();
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        const Wait waited = waitForStatus(board, kAnswerWaiting, start, group.readTimeoutMs);
        if (waited == Wait::TimedOut)
            reportError("Unable to read %d bytes from vorn #%d at address 0x%04X.", count, owner, board);
        uint16_t word = 0;
        if (waited != Wait::Set || !readPort(dataPort(board), word, start, group.readTimeoutMs))
            return false;
        bytes[at] = static_cast<uint8_t>(word >> 8);
        if (at + 1 < bytes.size())
            bytes[at + 1] = static_cast<uint8_t>(word); // an odd count drops the last low byte
    }
    return true;
}

bool IsaTransport::ready(VornGroup& group, int unit, std::size_t)
{
    const int owner = boardOwner(group, unit);
    uint16_t status = 0;
    return hasBoard(owner) && readPort(statusPort(base(owner)), status, platform::nowMs(), group.readTimeoutMs) &&
           (status & kAnswerWaiting) != 0;
}

bool IsaTransport::clearBuffer(VornGroup& group, int unit)
{
    if (!hasBoard(unit)) {
        reportError("Non-internal vorn number passed to ISAClearBuffer().");
        return false;
    }
    const uint16_t board = base(unit);
    const auto cleared = [&] {
        uint16_t dropped = 0;
        const uint64_t start = platform::nowMs();
        if (waitForStatus(board, kCanTakeWord, start, group.writeTimeoutMs) != Wait::Set ||
            !writePort(dataPort(board), kClearWord, start, group.writeTimeoutMs))
            return false;
        const uint64_t again = platform::nowMs();
        return waitForStatus(board, kCanTakeWord, again, group.writeTimeoutMs) == Wait::Set &&
               readPort(dataPort(board), dropped, again, group.writeTimeoutMs);
    };
    if (!cleared()) {
        if (!platform::ThreadContext::current()->quitPending())
            reportError("Unable to clear ISA receive buffer for vorn #%d at address 0x%04X.", unit, board);
        return false;
    }
    // The clear also silenced the data-ready character: switch it on again.
    if (group.reportingCycles && unit == masterUnit(group)) {
        const uint64_t start = platform::nowMs();
        const bool sent = waitForStatus(board, kCanTakeWord, start, group.writeTimeoutMs) == Wait::Set &&
                          writePort(dataPort(board), 0x5008, start, group.writeTimeoutMs) &&
                          waitForStatus(board, kCanTakeWord, start, group.writeTimeoutMs) == Wait::Set &&
                          writePort(dataPort(board), 0x0001, start, group.writeTimeoutMs);
        if (!sent) {
            reportError("Timeout waiting for ISA transmit buffer to clear on master vorn.");
            return false;
        }
    }
    return true;
}

bool IsaTransport::trigger(VornGroup& group, int unit)
{
    const uint16_t board = base(unit);
    const uint64_t start = platform::nowMs();
    const Wait waited = waitForStatus(board, kCanTakeWord, start, group.writeTimeoutMs);
    if (waited == Wait::TimedOut)
        reportError("Timeout waiting for ISA transmit buffer to clear on vorn #%d.", unit);
    return waited == Wait::Set && writePort(dataPort(board), kPointWord, start, group.writeTimeoutMs);
}

bool IsaTransport::resynchronise(VornGroup& group)
{
    const int master = masterUnit(group);
    // The word before a frame's first record is the tag of the last unit
    // of the frame before: its address in the high byte.
    const uint16_t lastTag = static_cast<uint16_t>(group.lastActiveUnit << 8);
    uint16_t previous = 0;
    bool found = false;
    for (int i = 0; i < kResynchSearchWords && !found; ++i) {
        uint8_t bytes[2];
        if (!getResponse(group, master, bytes))
            return notEnoughBytes();
        const uint16_t word = static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
        found = (word & protocol::kIsaPhasingFlag) != 0 && (group.standAlone || previous == lastTag);
        previous = word;
    }
    if (!found) {
        reportError("Unable to resynchronize ISA port after phase error.");
        return false;
    }
    return dropRestOfFrame(group, 2);
}

bool IsaTransport::writeControlEverywhere(const VornGroup& group, uint16_t value)
{
    bool written = true;
    for (int unit = firstUnit(group); unit <= lastUnit(group); ++unit)
        if (hasBoard(unit))
            written = writePort(statusPort(base(unit)), value, platform::nowMs(), group.writeTimeoutMs) && written;
    return written;
}

bool IsaTransport::reset(VornGroup& group)
{
    // A board that cannot be written cannot be reset: no point waiting 4.5 s.
    return writeControlEverywhere(group, 0) && platform::PumpWait::forMilliseconds(kResetPulseMs) &&
           writeControlEverywhere(group, 1) && platform::PumpWait::forMilliseconds(kAfterResetMs);
}

void IsaTransport::close(VornGroup&)
{
    if (ports_) {
        for (int unit = 0; unit < VORN_UNIT_COUNT; ++unit)
            if (hasBoard(unit))
                ports_->write(statusPort(base(unit)), 0, platform::PortIo::kAccessLimitMs); // held in reset
    }
    ports_.reset(); // the last group to let go closes the port access
}

} // namespace vorn
