// A reading in engineering units: inches, degrees, plain fractions.
#pragma once

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vornctl {

// What a unit sends, taken from its device configuration.
struct UnitLayout {
    int address = 0;
    uint8_t dataFormat = 0;
    uint16_t scaling = 36;
    bool button = false;

    bool operator==(const UnitLayout&) const = default;
};

struct Measurement {
    int address = 0;
    bool hasPosition = false, hasAngles = false, hasMatrix = false, hasQuaternion = false, hasButton = false;
    std::array<double, 3> positionIn {};
    std::array<double, 3> anglesDeg {};
    std::array<double, 9> matrix {};
    std::array<double, 4> quaternion {};
    unsigned button = 0;
};

double inchesOf(int16_t raw, uint16_t scaling);
double degreesOf(int16_t raw);
double fractionOf(int16_t raw);

Measurement convert(const VornReading& reading, const UnitLayout& layout);

// Which fields any of the units carries: the columns a table needs.
struct FieldSet {
    bool position = false, angles = false, matrix = false, quaternion = false, button = false;
};
FieldSet fieldsOf(const std::vector<UnitLayout>& units);

} // namespace vornctl
