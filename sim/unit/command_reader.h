// Cuts a unit's input byte stream into commands, the way a unit's command interpreter
// does: prefix, command byte, as many argument bytes as that command takes.
#pragma once

#include "unit/parsed_command.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vorn::sim {

class CommandReader {
public:
    using Clock = std::chrono::steady_clock;
    using Log = std::function<void(const std::string&)>;

    // A partial command older than `partialTimeout` is dropped: a unit does not wait
    // forever for arguments that never come.
    CommandReader(std::chrono::milliseconds partialTimeout, Log log);

    void feed(std::span<const uint8_t> bytes, Clock::time_point now);

    // Takes the next whole command, if any.
    std::optional<ParsedCommand> next(Clock::time_point now);

    // When the pending partial command expires, if there is one.
    std::optional<Clock::time_point> partialDeadline() const;

    void clear();

private:
    // Bytes a command needs after the command byte, given what is there; -1: unknown command.
    int argumentBytes(uint8_t command, std::span<const uint8_t> rest) const;

    std::chrono::milliseconds partialTimeout_;
    Log log_;
    std::vector<uint8_t> pending_;
    Clock::time_point lastByte_ {};
};

} // namespace vorn::sim
