#include "core/distortion_colour.h"

#include <algorithm>

namespace vornscope {
namespace {

int rampPart(int value, int base, int span)
{
    return static_cast<int>(static_cast<double>(value - base) / 6.0 * span);
}

} // namespace

std::uint32_t distortionColour(int value)
{
    int red = 255;
    int green = 255;
    if (value < 35)
        red = 0;
    else if (value <= 40)
        red = rampPart(value, 34, 255);
    else if (value <= 60)
        green = 255;
    else if (value <= 66)
        green = 255 - rampPart(value, 60, 128);
    else if (value <= 86)
        green = 128;
    else if (value <= 92)
        green = 128 - rampPart(value, 86, 128);
    else
        green = 0;
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8);
}

int distortionFillHeight(int value, int barHeight)
{
    const int clamped = std::clamp(value, 0, kDistortionMax);
    return clamped * barHeight / kDistortionMax;
}

} // namespace vornscope
