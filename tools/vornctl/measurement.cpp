#include "measurement.h"

namespace vornctl {

namespace {

struct FormatContent {
    bool position, angles, matrix, quaternion;
};

FormatContent contentOf(uint8_t dataFormat)
{
    switch (dataFormat) {
    case 1: return {true, false, false, false};
    case 2: return {false, true, false, false};
    case 3: return {false, false, true, false};
    case 4: return {true, true, false, false};
    case 5: return {true, false, true, false};
    case 7: return {false, false, false, true};
    case 8: return {true, false, false, true};
    default: return {false, false, false, false};
    }
}

} // namespace

double inchesOf(int16_t raw, uint16_t scaling)
{
    return raw * static_cast<double>(scaling) / 32767.0;
}

double degreesOf(int16_t raw)
{
    return raw * 180.0 / 32767.0;
}

double fractionOf(int16_t raw)
{
    return raw / 32767.0;
}

Measurement convert(const VornReading& reading, const UnitLayout& layout)
{
    const FormatContent content = contentOf(layout.dataFormat);
    Measurement m;
    m.address = layout.address;
    m.hasPosition = content.position;
    m.hasAngles = content.angles;
    m.hasMatrix = content.matrix;
    m.hasQuaternion = content.quaternion;
    m.hasButton = layout.button;
    for (int i = 0; i < 3; ++i) {
        m.positionIn[i] = inchesOf(reading.position[i], layout.scaling);
        m.anglesDeg[i] = degreesOf(reading.angles[i]);
    }
    for (int i = 0; i < 9; ++i)
        m.matrix[i] = fractionOf(reading.matrix[i]);
    for (int i = 0; i < 4; ++i)
        m.quaternion[i] = fractionOf(reading.quaternion[i]);
    m.button = reading.button;
    return m;
}

FieldSet fieldsOf(const std::vector<UnitLayout>& units)
{
    FieldSet fields;
    for (const auto& unit : units) {
        const FormatContent content = contentOf(unit.dataFormat);
        fields.position |= content.position;
        fields.angles |= content.angles;
        fields.matrix |= content.matrix;
        fields.quaternion |= content.quaternion;
        fields.button |= unit.button;
    }
    return fields;
}

} // namespace vornctl
