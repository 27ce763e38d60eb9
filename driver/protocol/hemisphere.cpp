#include "protocol/hemisphere.h"

namespace vorn::protocol {

namespace {

constexpr std::array<std::array<uint8_t, 2>, 6> kArguments = {{
    {0x00, 0x00}, // front
    {0x00, 0x01}, // back
    {0x0C, 0x01}, // top
    {0x0C, 0x00}, // bottom
    {0x06, 0x01}, // left
    {0x06, 0x00}, // right
}};

} // namespace

std::optional<std::array<uint8_t, 2>> hemisphereArguments(uint8_t hemisphere)
{
    if (hemisphere >= kArguments.size()) {
        return std::nullopt;
    }
    return kArguments[hemisphere];
}

std::optional<uint8_t> hemisphereOfArguments(uint8_t axis, uint8_t sign)
{
    for (uint8_t code = 0; code < kArguments.size(); ++code) {
        if (kArguments[code][0] == axis && kArguments[code][1] == sign) {
            return code;
        }
    }
    return std::nullopt;
}

} // namespace vorn::protocol
