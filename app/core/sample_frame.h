// The sample frame: one data point of every unit, in physical units, as the
// acquisition modes average it and the displays and data files use it.
#pragma once

#include <vorn/vorn.h>

#include <array>
#include <cstdint>

namespace vornscope {

// Content bits: what a sensor record carries.
namespace content {
constexpr std::uint8_t kPosition = 128;
constexpr std::uint8_t kAngles = 64;
constexpr std::uint8_t kMatrix = 32;
constexpr std::uint8_t kQuaternion = 16;
constexpr std::uint8_t kButton = 8;
// Set only by the data-file reader: the line groups it found.
constexpr std::uint8_t kDistortion = 4;
constexpr std::uint8_t kTime = 2;
} // namespace content

// Button values as units report them.
namespace button {
constexpr std::int16_t kNone = 0;
constexpr std::int16_t kLeft = 16;
constexpr std::int16_t kMiddle = 48;
constexpr std::int16_t kRight = 112;
} // namespace button

struct SensorRecord {
    std::array<double, 3> position {};
    std::array<double, 3> angles {};
    std::array<double, 9> matrix {};
    std::array<double, 4> quaternion {};
    std::int16_t button = 0;
    std::uint16_t distortion = 0;
    std::uint8_t content = 0;
};

struct SampleFrame {
    double time = 0.0;
    // Indexed by unit address; slot 0 is not used.
    std::array<SensorRecord, VORN_UNIT_COUNT> sensors {};

    void clear() { *this = SampleFrame {}; }
};

// The application's format numbering (the order of the option radio buttons).
enum class FormatIndex : int {
    Position = 0,
    Angles = 1,
    PositionAngles = 2,
    Matrix = 3,
    PositionMatrix = 4,
    Quaternion = 5,
    PositionQuaternion = 6,
    Other = 7
};

FormatIndex formatIndexOfCode(std::uint8_t dataFormat);
std::uint8_t dataFormatCode(FormatIndex index);
// Content bits of a unit's format, with kButton when the unit appends buttons.
std::uint8_t contentOfFormat(std::uint8_t dataFormat, bool buttonData);
// Bytes a unit's own point reply carries for its format (no button, distortion or address).
int formatReplyBytes(std::uint8_t dataFormat);

// A library reading in physical units; `range` is the unit's full scale.
SensorRecord sensorFromReading(const VornReading& reading, double range, std::uint8_t contentBits);

// The text of a button value; empty for anything that is not a known button.
const char* buttonText(int value);

} // namespace vornscope
