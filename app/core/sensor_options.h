// The sensor page's values and how they map onto a unit's VornDeviceConfig.
// The tables below drive both the page and its tests.
#pragma once

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <span>

namespace vornscope {

// Operator's data formats 0..6 (radio-button order); 7 stands for any other code.
inline constexpr int kOtherFormat = 7;
inline constexpr int kPositionMatrixIndex = 4;
struct DataFormatEntry {
    const char* label;
    std::uint8_t code;
};
std::span<const DataFormatEntry> dataFormats();
int formatIndexFromCode(std::uint8_t code);
std::uint8_t formatCodeFromIndex(int index); // 0 for kOtherFormat

// Check boxes that are bits of `setup`.
enum class SetupBit { NarrowNotch, WideNotch, LargeChange, Dc, XyzReference, ButtonData };
struct SetupBitEntry {
    SetupBit which;
    const char* label;
    std::uint8_t mask;
};
std::span<const SetupBitEntry> setupBits();

inline constexpr std::array<int, 4> kRanges {36, 72, 144, 288};
inline constexpr int kRangeNeverWritten = 144;
inline constexpr std::array<const char*, 6> kHemispheres {"Front", "Back", "Top", "Bottom", "Left", "Right"};

// Conversions of the record's words.
double degreesFromWord(std::int16_t word);
std::int16_t wordFromDegrees(double degrees);
double alphaFromWord(std::uint16_t word);
std::uint16_t wordFromAlpha(double value);

// The Filter Parameters sliders (top of the slider means 1.0 or the largest Vm).
inline constexpr int kAlphaSliderMax = 32767;
int alphaSliderPosition(double value);
double alphaFromSlider(int position);
int alphaToolTipValue(double value); // value x 32768, shown as "%d"
inline constexpr int kVmSliderMin = 1;
inline constexpr int kVmSliderMax = 32767;
int vmSliderPosition(int value);
int vmFromSlider(int position);

struct SensorPageValues {
    int formatIndex = 0;
    std::array<bool, 6> setupBits {}; // indexed by SetupBit
    int range = 72;
    bool rangeEnabled = true; // fixed for extended-range systems
    int hemisphere = 0;
    std::array<double, 3> angleAlign {};     // az, el, rl degrees
    std::array<double, 3> referenceFrame {}; // az, el, rl degrees
    std::array<double, VORN_FILTER_ENTRIES> alphaMin {};
    std::array<double, VORN_FILTER_ENTRIES> alphaMax {};
    std::array<int, VORN_FILTER_ENTRIES> vm {};
    int lineFrequency = 60; // kLineFrequencyNotRead when the unit could not be asked
    bool configureAllAfter = false;

    bool bit(SetupBit which) const { return setupBits[static_cast<std::size_t>(which)]; }
    void setBit(SetupBit which, bool on) { setupBits[static_cast<std::size_t>(which)] = on; }
};

// A page as the unit's configuration fills it. The range list is enabled
// only when bit 7 of the system's `transmitter` is clear.
// The line frequency of a unit that cannot be asked (TCP/IP, or no answer):
// the page shows no value and leaves the unit's as it is.
constexpr int kLineFrequencyNotRead = 0;

SensorPageValues pageFromConfig(const VornDeviceConfig& config, std::uint8_t systemTransmitter, int lineFrequency);

} // namespace vornscope
