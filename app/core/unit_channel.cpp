#include "core/unit_channel.h"

namespace vornscope {

bool UnitChannel::send(int unit, std::vector<std::uint8_t> bytes)
{
    if (!available())
        return false;
    if (link_ == Transport::ISA && bytes.size() % 2 != 0)
        bytes.push_back(0);
    return library_.sendCommand(link_, group_, unit, bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

std::optional<std::vector<std::uint8_t>> UnitChannel::examine(int unit, std::uint8_t parameter, std::size_t length)
{
    if (!send(unit, {unit_command::kExamine, parameter}))
        return std::nullopt;
    // ISA answers in whole words; a one-byte value is the low byte, read second.
    const bool padded = link_ == Transport::ISA && length % 2 != 0;
    std::vector<std::uint8_t> answer(padded ? length + 1 : length);
    if (!library_.getResponse(link_, group_, unit, answer.data(), static_cast<std::uint16_t>(answer.size())))
        return std::nullopt;
    if (padded)
        answer.erase(answer.begin());
    return answer;
}

std::optional<std::uint8_t> UnitChannel::examineByte(int unit, std::uint8_t parameter)
{
    auto answer = examine(unit, parameter, 1);
    if (!answer)
        return std::nullopt;
    return answer->front();
}

std::optional<std::string> UnitChannel::modelString(int unit)
{
    auto answer = examine(unit, unit_parameter::kModelIdentification, 10);
    if (!answer)
        return std::nullopt;
    return std::string(answer->begin(), answer->end());
}

bool UnitChannel::change(int unit, std::uint8_t parameter, std::uint8_t value)
{
    return send(unit, {unit_command::kChange, parameter, value});
}

} // namespace vornscope
