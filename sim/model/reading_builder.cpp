#include "model/reading_builder.h"

#include "protocol/hemisphere.h"

#include <algorithm>
#include <cmath>

namespace vorn::sim {

namespace {

constexpr double kFullScale = 32767.0;

int16_t saturate(double value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -kFullScale, kFullScale)));
}

Angles anglesOfRaw(const std::array<int16_t, 3>& raw)
{
    return {raw[0] * 180.0 / kFullScale, raw[1] * 180.0 / kFullScale, raw[2] * 180.0 / kFullScale};
}

// Magnetic fields cannot tell a position from its mirror through the transmitter: the
// unit reports the one in the chosen hemisphere.
Vector3 inHemisphere(Vector3 p, uint8_t hemisphere)
{
    const auto arguments = vorn::protocol::hemisphereArguments(hemisphere).value_or(std::array<uint8_t, 2> {0, 0});
    const int axis = arguments[0] / 6; // 0x00 x, 0x06 y, 0x0C z
    const bool negative = arguments[1] != 0;
    if ((p[axis] < 0) != negative && p[axis] != 0) {
        for (double& x : p) {
            x = -x;
        }
    }
    return p;
}

} // namespace

int16_t rawAngle(double degrees)
{
    return saturate(degrees * kFullScale / 180.0);
}

VornReading readingOf(const Pose& pose, const ReportFrame& frame)
{
    const Matrix3 reference = matrixOfAngles(anglesOfRaw(frame.referenceFrame));
    const Matrix3 align = matrixOfAngles(anglesOfRaw(frame.angleAlign));
    const Matrix3 m = multiply(transpose(align), multiply(pose.orientation, transpose(reference)));
    Vector3 position = inHemisphere(pose.position, frame.hemisphere);
    if (frame.rotateXyz) {
        position = multiply(reference, position);
    }

    VornReading reading {};
    for (int i = 0; i < 3; ++i) {
        reading.position[i] = saturate(position[i] * kFullScale / frame.scalingInches);
    }
    const Angles angles = anglesOfMatrix(m);
    reading.angles[0] = rawAngle(angles.azimuth);
    reading.angles[1] = rawAngle(angles.elevation);
    reading.angles[2] = rawAngle(angles.roll);
    for (int i = 0; i < 9; ++i) {
        reading.matrix[i] = saturate(m[i / 3][i % 3] * kFullScale);
    }
    const Quaternion q = quaternionOfMatrix(m);
    for (int i = 0; i < 4; ++i) {
        reading.quaternion[i] = saturate(q[i] * kFullScale);
    }
    return reading;
}

VornReading fourteenBitReading(VornReading reading)
{
    const auto measured = [](int16_t& value) { value = static_cast<int16_t>(value & ~3); };
    for (int16_t& value : reading.position)
        measured(value);
    for (int16_t& value : reading.angles)
        measured(value);
    for (int16_t& value : reading.matrix)
        measured(value);
    for (int16_t& value : reading.quaternion)
        measured(value);
    return reading;
}

} // namespace vorn::sim
