// The units' attitude convention: angles, matrix and quaternion agree with each other and with
// fixed cases, through gimbal lock and across +-180 degrees.
#include "vorn/attitude/angles.h"
#include "vorn/attitude/circular_mean.h"
#include "vorn/attitude/matrix.h"
#include "vorn/attitude/quaternion.h"
#include "vorn/attitude/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vorn::attitude {
namespace {

void expectMatrixNear(const Matrix3& actual, const Matrix3& expected, double tolerance)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << "element " << i + 1 << j + 1;
}

// Angles that reach every sign and both sides of +-180 and +-90.
std::vector<Angles> sampleAngles()
{
    std::vector<Angles> all;
    for (double a : {-180.0, -179.5, -135.0, -1.0, 0.0, 30.0, 90.0, 179.5})
        for (double e : {-89.5, -60.0, -5.0, 0.0, 45.0, 89.5})
            for (double r : {-179.9, -90.0, 0.0, 12.0, 120.0, 180.0})
                all.push_back({a, e, r});
    return all;
}

TEST(AttitudeAngles, RowsAreTheSensorAxesInTrackerCoordinates)
{
    // Azimuth 90: the sensor's x axis points along the tracker's y, its y axis along -x.
    expectMatrixNear(matrixOfAngles({90, 0, 0}), {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}, 1e-15);
    // Elevation 90: x points along -z (the tracker's z points down).
    expectMatrixNear(matrixOfAngles({0, 90, 0}), {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}}, 1e-15);
    // Roll 90: y points along z.
    expectMatrixNear(matrixOfAngles({0, 0, 90}), {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}}, 1e-15);
    // Azimuth, then elevation, then roll, each about the sensor's turned axes.
    expectMatrixNear(
        matrixOfAngles({30, 20, 10}),
        multiply(matrixOfAngles({0, 0, 10}), multiply(matrixOfAngles({0, 20, 0}), matrixOfAngles({30, 0, 0}))), 1e-15);
}

TEST(AttitudeAngles, AnglesSurviveTheMatrixRoundTrip)
{
    for (const Angles& a : sampleAngles()) {
        const Matrix3 m = matrixOfAngles(a);
        expectMatrixNear(multiply(m, transpose(m)), kIdentity, 1e-15);
        const Angles back = anglesOfMatrix(m);
        EXPECT_NEAR(std::remainder(back.azimuth - a.azimuth, 360.0), 0, 1e-9)
            << a.azimuth << " " << a.elevation << " " << a.roll;
        EXPECT_NEAR(back.elevation, a.elevation, 1e-9);
        EXPECT_NEAR(std::remainder(back.roll - a.roll, 360.0), 0, 1e-9);
        EXPECT_LE(std::fabs(back.azimuth), 180.0);
        EXPECT_LE(std::fabs(back.roll), 180.0);
    }
}

TEST(AttitudeAngles, GimbalLockAtPlusAndMinus90Elevation)
{
    for (double elevation : {90.0, -90.0}) {
        // Exactly +-90: the angles found may split azimuth and roll differently, but they make
        // the same matrix.
        const Matrix3 m = matrixOfAngles({40, elevation, 25});
        const Angles back = anglesOfMatrix(m);
        EXPECT_EQ(back.elevation, elevation);
        expectMatrixNear(matrixOfAngles(back), m, 1e-9);

        // A matrix with no trace of azimuth and roll keeps the previous ones instead of
        // inventing them from signed zeros.
        Matrix3 locked {};
        locked[0][2] = elevation > 0 ? -0.0 - 1 : 1;
        locked[0][0] = -0.0;
        locked[2][2] = -0.0;
        const Angles kept = anglesOfMatrix(locked, {12, 0, -34});
        EXPECT_EQ(kept.elevation, elevation);
        EXPECT_EQ(kept.azimuth, 12);
        EXPECT_EQ(kept.roll, -34);
    }
    // Rounded 16-bit fractions may put |m13| past 1: still +-90, not NaN.
    Matrix3 past = kIdentity;
    past[0][2] = -1.00003;
    EXPECT_EQ(anglesOfMatrix(past).elevation, 90);
}

TEST(AttitudeQuaternion, SignConventionScalarFirstAndNeverNegative)
{
    // Azimuth +90 is (cos 45, 0, 0, +sin 45): the quaternion turns tracker into sensor axes the
    // way the matrix's rows say.
    const Quaternion q = quaternionOfMatrix(matrixOfAngles({90, 0, 0}));
    EXPECT_NEAR(q[0], std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(q[1], 0, 1e-15);
    EXPECT_NEAR(q[2], 0, 1e-15);
    EXPECT_NEAR(q[3], std::sqrt(0.5), 1e-15);
    const Quaternion roll = quaternionOfMatrix(matrixOfAngles({0, 0, 60}));
    EXPECT_NEAR(roll[1], 0.5, 1e-15);
    const Quaternion elevation = quaternionOfMatrix(matrixOfAngles({0, 60, 0}));
    EXPECT_NEAR(elevation[2], 0.5, 1e-15);
}

TEST(AttitudeQuaternion, MatrixSurvivesTheQuaternionRoundTripInEveryBranch)
{
    std::vector<Matrix3> matrices;
    for (const Angles& a : sampleAngles())
        matrices.push_back(matrixOfAngles(a));
    // Half turns about each axis: trace -1, where each of the other three branches is taken.
    matrices.push_back({{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}});
    matrices.push_back({{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}});
    matrices.push_back({{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}});
    for (const Matrix3& m : matrices) {
        const Quaternion q = quaternionOfMatrix(m);
        EXPECT_GE(q[0], 0.0);
        EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0, 1e-12);
        expectMatrixNear(matrixOfQuaternion(q), m, 1e-12);
        // -q is the same rotation, and the units' fractions are a little off unit length.
        expectMatrixNear(matrixOfQuaternion({-q[0], -q[1], -q[2], -q[3]}), m, 1e-12);
        expectMatrixNear(matrixOfQuaternion({0.99 * q[0], 0.99 * q[1], 0.99 * q[2], 0.99 * q[3]}), m, 1e-12);
    }
    EXPECT_EQ(matrixOfQuaternion({0, 0, 0, 0}), kIdentity);
}

TEST(AttitudeQuaternion, TurnedLikeTheReference)
{
    const Quaternion reference {0.1, 0.7, 0.1, 0.7};
    const Quaternion across {-0.1, -0.7, -0.2, -0.68};
    EXPECT_EQ(turnedLike(reference, across), (Quaternion {0.1, 0.7, 0.2, 0.68}));
    EXPECT_EQ(turnedLike(reference, reference), reference);
}

TEST(AttitudeCircularMean, AveragesAcrossPlusMinus180AndAroundZero)
{
    CircularMean seam;
    seam.add(179);
    seam.add(-179);
    EXPECT_NEAR(std::fabs(seam.degrees()), 180, 1e-9);

    CircularMean zero;
    for (double a : {350.0, 10.0, -5.0, 5.0})
        zero.add(a);
    EXPECT_NEAR(zero.degrees(), 0, 1e-9);

    CircularMean near {};
    for (double a : {-170.0, 175.0, 170.0})
        near.add(a);
    EXPECT_NEAR(near.degrees(), 178.33, 0.05); // about the mean of 190, 175 and 170

    CircularMean one;
    EXPECT_EQ(one.degrees(), 0);
    one.add(-123.456);
    EXPECT_EQ(one.degrees(), -123.456) << "a single angle comes back exactly";
    EXPECT_EQ(one.count(), 1);
}

TEST(AttitudeUnits, InchesAndMillimetres)
{
    EXPECT_EQ(millimetresOfInches(1), 25.4);
    EXPECT_EQ(millimetresOfInches(-36), -914.4);
    EXPECT_DOUBLE_EQ(inchesOfMillimetres(millimetresOfInches(72.125)), 72.125);
    EXPECT_EQ(inchesOfMillimetres(254), 10);
}

TEST(AttitudeMatrix, ElementsGoRowByRow)
{
    const std::array<double, 9> elements {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Matrix3 m = matrixOfRows(elements);
    EXPECT_EQ(m[0][1], 2);
    EXPECT_EQ(m[1][0], 4);
    EXPECT_EQ(rowsOfMatrix(m), elements);
    EXPECT_EQ(multiply(m, Vector3 {1, 0, -1}), (Vector3 {-2, -2, -2}));
}

} // namespace
} // namespace vorn::attitude
