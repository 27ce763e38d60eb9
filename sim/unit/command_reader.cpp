#include "unit/command_reader.h"

#include "protocol/commands.h"
#include "protocol/factory_commands.h"
#include "protocol/fvb_prefix.h"
#include "protocol/parameters.h"

#include <cstdio>

namespace vorn::sim {

namespace vp = vorn::protocol;

namespace {

std::string hexByte(uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

} // namespace

CommandReader::CommandReader(std::chrono::milliseconds partialTimeout, Log log)
    : partialTimeout_(partialTimeout), log_(std::move(log))
{
}

void CommandReader::feed(std::span<const uint8_t> bytes, Clock::time_point now)
{
    if (bytes.empty()) {
        return;
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    lastByte_ = now;
}

void CommandReader::clear()
{
    pending_.clear();
}

std::optional<CommandReader::Clock::time_point> CommandReader::partialDeadline() const
{
    if (pending_.empty()) {
        return std::nullopt;
    }
    return lastByte_ + partialTimeout_;
}

int CommandReader::argumentBytes(uint8_t command, std::span<const uint8_t> rest) const
{
    if (command == vp::toByte(vp::Command::ChangeValue)) {
        if (rest.empty()) {
            return 1; // the parameter number decides the rest
        }
        const auto value = vp::changeValueBytes(rest[0], vp::Connection::Rs232);
        return 1 + static_cast<int>(value.value_or(0));
    }
    const int fixed = vp::commandArgumentBytes(command);
    if (fixed >= 0) {
        return fixed;
    }
    return vp::factoryCommandArgumentBytes(command);
}

std::optional<ParsedCommand> CommandReader::next(Clock::time_point now)
{
    while (!pending_.empty()) {
        ParsedCommand command;
        std::span<const uint8_t> view(pending_);
        const auto prefix = vp::matchFvbPrefix(view);
        std::size_t at = 0;
        using Kind = vp::FvbPrefixMatch::Kind;
        if (prefix.kind == Kind::Invalid) {
            log_("ignored address prefix naming no unit: " + hexByte(view[0]));
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(prefix.length));
            continue;
        }
        if (prefix.kind == Kind::Prefix) {
            command.address = prefix.address;
            at = prefix.length;
        }
        const bool complete = prefix.kind != Kind::NeedMore && at < view.size();
        const int needed = complete ? argumentBytes(view[at], view.subspan(at + 1)) : 0;
        if (needed < 0) {
            log_("ignored unknown command byte " + hexByte(view[at]));
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at + 1));
            continue;
        }
        const std::size_t total = at + 1 + static_cast<std::size_t>(needed);
        if (!complete || view.size() < total) {
            if (now - lastByte_ >= partialTimeout_) {
                log_("dropped truncated command (" + std::to_string(pending_.size()) + " bytes)");
                pending_.clear();
            }
            return std::nullopt;
        }
        command.command = view[at];
        command.argumentCount = static_cast<std::size_t>(needed);
        std::copy_n(view.begin() + static_cast<std::ptrdiff_t>(at + 1), needed, command.arguments.begin());
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
        return command;
    }
    return std::nullopt;
}

} // namespace vorn::sim
