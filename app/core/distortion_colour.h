// The distortion bar's colour ramp: green while the field is clean, through
// yellow and orange to red as the distortion value rises (0..127).
#pragma once

#include <cstdint>

namespace vornscope {

constexpr int kDistortionMax = 127;

// Colour word 0x00BBGGRR (blue is always 0).
std::uint32_t distortionColour(int value);
// Filled height of a bar `barHeight` pixels high for the value.
int distortionFillHeight(int value, int barHeight);

} // namespace vornscope
