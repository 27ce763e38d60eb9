#pragma once
// The position/angle data file: one line per measurement cycle, X, Y, Z in inches and azimuth,
// elevation, roll in degrees in "####.##" columns separated by a comma and two blanks, optionally
// followed by the ALPHA value, lines ended by CR LF.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vorn::humgather {

inline constexpr int kMaxStoredCycles = 1000;

// `values` are X, Y, Z (inches) and azimuth, elevation, roll (degrees); `alpha` the raw ALPHA word.
std::string poseDataLine(const std::array<double, 6>& values, std::optional<std::int16_t> alpha);

} // namespace vorn::humgather
