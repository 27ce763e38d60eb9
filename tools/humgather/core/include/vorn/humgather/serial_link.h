#pragma once
// Humgather's own serial line to a unit: the serial primitives every dialogue uses (send, receive,
// flush input, memory reads and writes, word read) on top of the shared COM<n> line.
//
// A receive waits as long as the unit needs: the unit is silent while it reboots or while a test
// runs, and the dialogue has no notion of giving up. So that the user is never trapped, the link
// calls the waiting hook once a receive has waited a few seconds (and again every few seconds), and
// a line whose other end has gone ends the wait with LinkLost instead of blocking for ever.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "protocol/commands.h"

namespace vorn::platform {
class SerialLine;
}

namespace vorn::humgather {

// The other end of the line has gone (a pulled cable, a closed pseudo-terminal).
class LinkLost : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 16-bit answer word, least significant byte first on the line.
struct AnswerWord {
    std::uint16_t unsignedValue = 0;
    std::int16_t signedValue = 0;
};

AnswerWord wordFromBytes(std::uint8_t first, std::uint8_t second);

enum class MemorySpace { Ram, Prom };

class SerialLink {
public:
    SerialLink();
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens COM<port> at the baud rate, 8N1. On failure returns false and errorText() says why.
    bool open(unsigned port, std::uint32_t baudRate);
    const std::string& errorText() const { return error_; }
    // The line's descriptor, for a signal handler that must still reach the unit; -1 when closed.
    int descriptor() const;
    // RTS on and at once off again: the unit resets.
    void pulseRts();

    void send(std::span<const std::uint8_t> bytes);
    void send(std::string_view text);
    void sendByte(std::uint8_t byte);
    void send(protocol::Command command);
    // Reads exactly out.size() bytes, waiting as long as it takes (see the waiting hook).
    void receive(std::span<std::uint8_t> out);
    // Takes out.size() bytes if they arrive within `limit`; otherwise takes nothing.
    bool tryReceive(std::span<std::uint8_t> out, std::chrono::milliseconds limit);
    // For an answer of unknown length: takes bytes until `out` is full or none has come for
    // `quiet`; returns how many were taken.
    std::size_t receiveUntilQuiet(std::span<std::uint8_t> out, std::chrono::milliseconds quiet);
    std::uint8_t receiveByte();
    AnswerWord receiveWord();
    // Reads up to and including a carriage return; the line is returned without it.
    std::string receiveLine();
    // Waits 0.2 s, then discards every byte waiting.
    void flushInput();

    std::uint8_t readMemoryByte(std::uint16_t address, MemorySpace space);
    std::int16_t readMemoryWord(std::uint16_t address);
    void writeMemoryByte(std::uint16_t address, std::uint8_t value);
    // The test mode's raw-sample output rate count.
    void setRateCount(std::uint16_t count);

    // Called with the seconds waited so far while a receive waits longer than `after`.
    void setWaitingHook(std::function<void(double secondsWaited)> hook,
                        std::chrono::milliseconds after = std::chrono::seconds(3));

private:
    void waitForBytes(std::size_t n);
    // Until n bytes are queued (true) or the deadline passes (false).
    bool waitUntil(std::size_t n, std::chrono::steady_clock::time_point deadline);

    std::unique_ptr<platform::SerialLine> line_;
    std::string error_;
    std::function<void(double)> waitingHook_;
    std::chrono::milliseconds waitingAfter_ {3000};
};

} // namespace vorn::humgather
