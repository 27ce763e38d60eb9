#include "config/unit_commands.h"

#include "group/error_reporter.h"
#include "protocol/commands.h"
#include "protocol/parameters.h"
#include "protocol/word_codec.h"

#include <array>
#include <cstdio>

namespace vorn {

namespace {

constexpr std::size_t kLargestCommand = 2 + 2 * 7; // change value with a table of 7 words
constexpr std::size_t kLargestAnswer = 128;        // super-expanded vornset status

bool isIsa(const UnitLink& link)
{
    return link.connection() == protocol::Connection::Isa;
}

} // namespace

UnitCommands::UnitCommands(VornGroup& group, UnitLink& link, int unit, Naming naming)
    : group_(group), link_(link), unit_(unit), naming_(naming)
{
    if (naming_ == Naming::Master)
        std::snprintf(name_, sizeof name_, "master vorn");
    else
        std::snprintf(name_, sizeof name_, "vorn #%d", unit_);
}

bool UnitCommands::send(std::span<const uint8_t> bytes, const char* what)
{
    if (link_.send(group_, unit_, bytes))
        return true;
    reportError("Unable to send %s to %s.", what, name_);
    return false;
}

bool UnitCommands::command(std::initializer_list<uint8_t> bytes, const char* what)
{
    return send(std::span(bytes.begin(), bytes.size()), what);
}

bool UnitCommands::examine(uint8_t parameter, const char* what, std::span<uint8_t> answer)
{
    const uint8_t request[] = {protocol::toByte(protocol::Command::ExamineValue), parameter};
    if (!link_.send(group_, unit_, request)) {
        reportError("Unable to send \"%s\" command to %s.", what, name_);
        return false;
    }
    if (!link_.getResponse(group_, unit_, answer)) {
        reportError("Unable to get \"%s\" response from %s.", what, name_);
        return false;
    }
    return true;
}

bool UnitCommands::examineWord(uint8_t parameter, const char* what, uint16_t& value)
{
    uint8_t answer[2];
    if (!examine(parameter, what, answer))
        return false;
    value = protocol::readWord(link_.connection(), answer);
    return true;
}

bool UnitCommands::examineByte(uint8_t parameter, const char* what, uint8_t& value)
{
    // A board answers in whole words, the byte in the low half.
    uint8_t answer[2];
    const std::size_t length = isIsa(link_) ? 2 : 1;
    if (!examine(parameter, what, std::span(answer, length)))
        return false;
    value = answer[length - 1];
    return true;
}

bool UnitCommands::examineRevision(const char* what, uint16_t& revision)
{
    uint8_t answer[2];
    if (!examine(protocol::toByte(protocol::Parameter::SoftwareRevision), what, answer))
        return false;
    revision = static_cast<uint16_t>(answer[0] << 8 | answer[1]);
    return true;
}

bool UnitCommands::examineWords(uint8_t parameter, const char* what, std::span<uint16_t> words)
{
    std::array<uint8_t, kLargestAnswer> answer {};
    const std::size_t length = 2 * words.size();
    if (length > answer.size() || !examine(parameter, what, std::span(answer.data(), length)))
        return false;
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = protocol::readWord(link_.connection(), &answer[2 * i]);
    return true;
}

bool UnitCommands::examineBytes(uint8_t parameter, const char* what, std::span<uint8_t> bytes)
{
    return examine(parameter, what, bytes);
}

bool UnitCommands::commandWithWords(uint8_t commandByte, std::span<const uint16_t> words, const char* what)
{
    std::array<uint8_t, kLargestCommand> bytes {};
    if (1 + 2 * words.size() > bytes.size())
        return false;
    bytes[0] = commandByte;
    for (std::size_t i = 0; i < words.size(); ++i)
        protocol::putWord(link_.connection(), words[i], &bytes[1 + 2 * i]);
    return send(std::span(bytes.data(), 1 + 2 * words.size()), what);
}

bool UnitCommands::changeValue(uint8_t parameter, uint16_t value, const char* what)
{
    std::array<uint8_t, 4> bytes {protocol::toByte(protocol::Command::ChangeValue), parameter};
    const std::size_t width = protocol::changeValueBytes(parameter, link_.connection()).value_or(1);
    if (width == 1)
        bytes[2] = static_cast<uint8_t>(value);
    else
        protocol::putWord(link_.connection(), value, &bytes[2]);
    return send(std::span(bytes.data(), 2 + (width == 1 ? 1 : 2)), what);
}

bool UnitCommands::changeValueWords(uint8_t parameter, std::span<const uint16_t> words, const char* what)
{
    std::array<uint8_t, kLargestCommand> bytes {};
    if (2 + 2 * words.size() > bytes.size())
        return false;
    bytes[0] = protocol::toByte(protocol::Command::ChangeValue);
    bytes[1] = parameter;
    for (std::size_t i = 0; i < words.size(); ++i)
        protocol::putWord(link_.connection(), words[i], &bytes[2 + 2 * i]);
    return send(std::span(bytes.data(), 2 + 2 * words.size()), what);
}

} // namespace vorn
