#include "core/sensor_options.h"

#include <algorithm>
#include <cmath>

namespace vornscope {
namespace {

constexpr DataFormatEntry kFormats[] = {
    {"Position", 1},        {"Angle", 2},      {"Position Angle", 4},      {"Matrix", 3},
    {"Position Matrix", 5}, {"Quaternion", 7}, {"Position Quaternion", 8},
};

constexpr SetupBitEntry kSetupBits[] = {
    {SetupBit::NarrowNotch, "AC Narrow Notch", 0x04},      {SetupBit::WideNotch, "AC Wide Notch", 0x02},
    {SetupBit::LargeChange, "Large Change", 0x20},         {SetupBit::Dc, "DC ", 0x01},
    {SetupBit::XyzReference, "XYZ Reference Frame", 0x10}, {SetupBit::ButtonData, "Append Button Data (mouse)", 0x08},
};

} // namespace

std::span<const DataFormatEntry> dataFormats()
{
    return kFormats;
}
std::span<const SetupBitEntry> setupBits()
{
    return kSetupBits;
}

int formatIndexFromCode(std::uint8_t code)
{
    for (std::size_t i = 0; i < std::size(kFormats); ++i)
        if (kFormats[i].code == code)
            return static_cast<int>(i);
    return kOtherFormat;
}

std::uint8_t formatCodeFromIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kFormats)))
        return 0;
    return kFormats[index].code;
}

double degreesFromWord(std::int16_t word)
{
    return word * 180.0 / 32767.0;
}

std::int16_t wordFromDegrees(double degrees)
{
    const double clamped = std::clamp(degrees, -180.0, 180.0);
    return static_cast<std::int16_t>(clamped * 32767.0 / 180.0);
}

double alphaFromWord(std::uint16_t word)
{
    return word / 32768.0;
}

std::uint16_t wordFromAlpha(double value)
{
    return static_cast<std::uint16_t>(std::clamp(value, 0.0, 1.0) * 32768.0);
}

int alphaSliderPosition(double value)
{
    return std::clamp(kAlphaSliderMax - static_cast<int>(value * 32767.0), 0, kAlphaSliderMax);
}

double alphaFromSlider(int position)
{
    return (kAlphaSliderMax - position) / 32768.0;
}

int alphaToolTipValue(double value)
{
    return static_cast<int>(value * 32768.0);
}

int vmSliderPosition(int value)
{
    return std::clamp(32768 - value, kVmSliderMin, kVmSliderMax);
}

int vmFromSlider(int position)
{
    return 32768 - position;
}

SensorPageValues pageFromConfig(const VornDeviceConfig& config, std::uint8_t systemTransmitter, int lineFrequency)
{
    SensorPageValues page;
    page.formatIndex = formatIndexFromCode(config.dataFormat);
    for (const auto& entry : kSetupBits)
        page.setBit(entry.which, (config.setup & entry.mask) != 0);
    page.range = config.scaling;
    page.rangeEnabled = (systemTransmitter & 0x80) == 0;
    page.hemisphere = config.hemisphere;
    for (std::size_t k = 0; k < 3; ++k) {
        page.angleAlign[k] = degreesFromWord(config.angleAlign[k]);
        page.referenceFrame[k] = degreesFromWord(config.referenceFrame[k]);
    }
    for (std::size_t k = 0; k < VORN_FILTER_ENTRIES; ++k) {
        page.alphaMin[k] = alphaFromWord(config.alphaMin[k]);
        page.alphaMax[k] = alphaFromWord(config.alphaMax[k]);
        page.vm[k] = config.vm[k];
    }
    page.lineFrequency = lineFrequency;
    return page;
}

} // namespace vornscope
