#include "session.h"

#include "vorn/humgather/change_values.h"
#include "vorn/humgather/position_record.h"

namespace vorn::humgather {

void Session::waitForKey()
{
    console.waitForAnyKey("HIT ANY KEY TO CONTINUE");
}

void Session::printLines(std::span<const std::string> lines)
{
    for (const auto& line : lines)
        console.printLine(line);
}

void Session::sendPrefix()
{
    if (auto prefix = humgatherPrefix(settings.multipleVornsets, settings.expandedPrefixes, settings.currentAddress))
        link.sendByte(*prefix);
}

void Session::sendToCurrentUnit(std::span<const std::uint8_t> bytes)
{
    sendPrefix();
    link.send(bytes);
}

void Session::sendToCurrentUnit(std::initializer_list<std::uint8_t> bytes)
{
    sendToCurrentUnit(std::span(bytes.begin(), bytes.size()));
}

void Session::sendToCurrentUnit(protocol::Command command)
{
    sendToCurrentUnit({protocol::toByte(command)});
}

std::uint8_t askByte(Session& session, const std::string& prompt, std::int32_t current)
{
    for (;;) {
        const std::int32_t entry = session.entry.askInt32(prompt, current);
        if (auto value = byteValue(entry))
            return *value;
        session.console.printLine();
        session.console.printLine("The value must be between 0 and 255; " + std::to_string(entry) + " is not sent.");
    }
}

} // namespace vorn::humgather
