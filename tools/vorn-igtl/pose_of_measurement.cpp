#include "pose_of_measurement.h"

#include "vorn/attitude/matrix.h"
#include "vorn/attitude/quaternion.h"
#include "vorn/attitude/units.h"

namespace vornigtl {

namespace {

// The unit's matrix of whatever orientation the data format carries; none is the identity.
Matrix3 unitMatrixOf(const vornctl::Measurement& measurement)
{
    namespace attitude = vorn::attitude;
    if (measurement.hasMatrix)
        return attitude::matrixOfRows(measurement.matrix);
    if (measurement.hasAngles) {
        const auto& a = measurement.anglesDeg;
        return attitude::matrixOfAngles({a[0], a[1], a[2]});
    }
    if (measurement.hasQuaternion)
        return attitude::matrixOfQuaternion(measurement.quaternion);
    return attitude::kIdentity;
}

} // namespace

SensorPose poseOf(const vornctl::Measurement& measurement)
{
    SensorPose pose;
    if (measurement.hasPosition)
        for (int i = 0; i < 3; ++i)
            pose.positionMm[i] = vorn::attitude::millimetresOfInches(measurement.positionIn[i]);
    // The unit's matrix has the sensor's axes as rows; a client wants them as columns.
    pose.rotation = vorn::attitude::transpose(unitMatrixOf(measurement));
    return pose;
}

} // namespace vornigtl
