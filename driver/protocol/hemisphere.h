// Hemisphere codes (0 front .. 5 right) and the two argument bytes of the hemisphere command.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace vorn::protocol {

enum class Hemisphere : uint8_t { Front = 0, Back = 1, Top = 2, Bottom = 3, Left = 4, Right = 5 };

// Axis code and sign byte for a hemisphere code; nullopt for codes above 5.
std::optional<std::array<uint8_t, 2>> hemisphereArguments(uint8_t hemisphere);

// The hemisphere code two argument bytes select, or nullopt for an unknown pair.
std::optional<uint8_t> hemisphereOfArguments(uint8_t axis, uint8_t sign);

} // namespace vorn::protocol
