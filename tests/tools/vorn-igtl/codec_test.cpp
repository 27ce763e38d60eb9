// The server's messages, read back by the independent decoder: header fields,
// CRC, the matrix layout, time stamps; and what the codec accepts from clients.
#include "frame_encoder.h"
#include "igtl_codec.h"
#include "igtl_decoder.h"
#include "pose_of_measurement.h"
#include "wall_clock_map.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vornigtl {
namespace {

std::vector<uint8_t> transformBytes(std::string_view name, const SensorPose& pose, uint64_t timestamp)
{
    std::vector<uint8_t> bytes(kTransformMessageSize);
    encodeTransform(name, pose, timestamp, bytes.data());
    return bytes;
}

TEST(IgtlCodec, TransformCarriesRotationColumnsTranslationAndValidCrc)
{
    SensorPose pose;
    pose.rotation = {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};
    pose.positionMm = {254.0, -12.5, 3.25};
    auto stream = transformBytes("Sensor1ToTracker", pose, timestampOfMilliseconds(12345));
    const auto message = igtltest::takeMessage(stream);
    ASSERT_TRUE(message);
    EXPECT_TRUE(stream.empty());
    EXPECT_EQ(message->version, 1);
    EXPECT_EQ(message->type, "TRANSFORM");
    EXPECT_EQ(message->deviceName, "Sensor1ToTracker");
    EXPECT_EQ(message->body.size(), 48u);
    EXPECT_TRUE(message->crcMatches());
    EXPECT_EQ(message->seconds, 12u);
    EXPECT_NEAR(message->time(), 12.345, 1e-6);
    const auto transform = igtltest::transformOf(*message);
    ASSERT_TRUE(transform);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(transform->rotation[row][column], pose.rotation[row][column]) << row << column;
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(static_cast<float>(transform->translation[i]), static_cast<float>(pose.positionMm[i]));
}

TEST(IgtlCodec, DeviceNamesAreCutAtTwentyCharacters)
{
    auto stream = transformBytes("ABCDEFGHIJKLMNOPQRSTUVWXYZ", SensorPose {}, 0);
    EXPECT_EQ(igtltest::takeMessage(stream)->deviceName, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(deviceNameOf(126), "Sensor126ToTracker");
}

TEST(IgtlCodec, StatusCarriesCodeNameAndText)
{
    auto stream = encodeStatus(StatusCode::HardwareFailure, "Tracker", "VornError", "taking a frame failed", 0);
    const auto message = igtltest::takeMessage(stream);
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->crcMatches());
    const auto status = igtltest::statusOf(*message);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->code, 18);
    EXPECT_EQ(status->errorName, "VornError");
    EXPECT_EQ(status->text, "taking a frame failed");
}

TEST(IgtlCodec, HeadersOfClientsDecodeWhateverTheirVersion)
{
    const auto bytes = igtltest::makeMessage(2, "STATUS", "Slicer", std::vector<uint8_t>(64, 0));
    const auto header = decodeHeader(bytes.data());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->version, 2);
    EXPECT_EQ(header->type, "STATUS");
    EXPECT_EQ(header->deviceName, "Slicer");
    EXPECT_EQ(header->bodySize, 64u);

    std::vector<uint8_t> garbage(kHeaderSize, 0xFF);
    EXPECT_FALSE(decodeHeader(garbage.data()));
    std::vector<uint8_t> empty(kHeaderSize, 0);
    EXPECT_FALSE(decodeHeader(empty.data()));
}

// One orientation in every form a unit reports it gives the same rotation.
TEST(PoseOfMeasurement, MatrixAnglesAndQuaternionAgree)
{
    struct Case {
        double azimuth, elevation, roll;
    };
    for (const Case c : {Case {0, 0, 0}, Case {30, 0, 0}, Case {0, 45, 0}, Case {0, 0, -60}, Case {120, -30, 75},
                         Case {-170, 80, 10}}) {
        const Matrix3 unit = matrixOfAngles({c.azimuth, c.elevation, c.roll});
        vornctl::Measurement fromMatrix;
        fromMatrix.hasMatrix = true;
        for (int i = 0; i < 9; ++i)
            fromMatrix.matrix[i] = unit[i / 3][i % 3];
        vornctl::Measurement fromAngles;
        fromAngles.hasAngles = true;
        fromAngles.anglesDeg = {c.azimuth, c.elevation, c.roll};
        // The quaternion of the sensor-to-tracker rotation (the transpose of the unit's matrix).
        const double w = std::sqrt(std::max(0.0, 1 + unit[0][0] + unit[1][1] + unit[2][2])) / 2;
        vornctl::Measurement fromQuaternion;
        fromQuaternion.hasQuaternion = true;
        if (w > 0.1) {
            fromQuaternion.quaternion = {w, (unit[1][2] - unit[2][1]) / (4 * w), (unit[2][0] - unit[0][2]) / (4 * w),
                                         (unit[0][1] - unit[1][0]) / (4 * w)};
        } else {
            fromQuaternion = fromMatrix; // near 180 degrees this formula is unstable; matrix stands in
        }
        const auto a = poseOf(fromMatrix), b = poseOf(fromAngles), q = poseOf(fromQuaternion);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column) {
                // Columns of the rotation are the rows of the unit's matrix.
                EXPECT_NEAR(a.rotation[row][column], unit[column][row], 1e-12);
                EXPECT_NEAR(b.rotation[row][column], unit[column][row], 1e-12);
                EXPECT_NEAR(q.rotation[row][column], unit[column][row], 1e-9);
            }
    }
}

TEST(PoseOfMeasurement, PositionInMillimetresAndIdentityWithoutOrientation)
{
    vornctl::Measurement m;
    m.hasPosition = true;
    m.positionIn = {1.0, -2.0, 10.0};
    const auto pose = poseOf(m);
    EXPECT_DOUBLE_EQ(pose.positionMm[0], 25.4);
    EXPECT_DOUBLE_EQ(pose.positionMm[1], -50.8);
    EXPECT_DOUBLE_EQ(pose.positionMm[2], 254.0);
    EXPECT_EQ(pose.rotation, (Matrix3 {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
}

TEST(FrameEncoder, OneMessagePerDataUnitWithTheFrameTime)
{
    FrameEncoder encoder({{1, 5, 36, false}, {3, 1, 72, false}});
    VornFrame frame {};
    frame.time = 2500;
    frame.reading[1].position[0] = 32767; // 36 inches
    frame.reading[1].matrix[0] = frame.reading[1].matrix[4] = frame.reading[1].matrix[8] = 32767;
    frame.reading[3].position[2] = -32767; // -72 inches
    std::vector<uint8_t> stream(encoder.frameSize());
    encoder.encode(frame, timestampOfMilliseconds(frame.time), stream.data());
    const auto first = igtltest::takeMessage(stream);
    const auto second = igtltest::takeMessage(stream);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(stream.empty());
    EXPECT_EQ(first->deviceName, "Sensor1ToTracker");
    EXPECT_EQ(second->deviceName, "Sensor3ToTracker");
    EXPECT_NEAR(first->time(), 2.5, 1e-6);
    EXPECT_NEAR(igtltest::transformOf(*first)->translation[0], 914.4, 1e-3);
    EXPECT_NEAR(igtltest::transformOf(*second)->translation[2], -1828.8, 1e-3);
    EXPECT_NEAR(igtltest::transformOf(*second)->rotation[1][1], 1.0, 0);
}

} // namespace
} // namespace vornigtl

namespace vornigtl {
namespace {

TEST(WallClockMap, TheFirstFrameFixesTheOffsetLaterFramesKeepTheirSpacing)
{
    uint64_t nowNs = 1796649621500000000ull; // 2026-12-07 13:20:21.5 UTC
    WallClockMap map([&] { return nowNs; });
    const auto seconds = [](uint64_t stamp) { return (stamp >> 32) + (stamp & 0xFFFFFFFFu) / 4294967296.0; };
    EXPECT_NEAR(seconds(map.timestampOf(602885)), 1796649621.5, 1e-6);
    nowNs += 60ull * 1000000000u; // the wall clock is set forward while streaming
    EXPECT_NEAR(seconds(map.timestampOf(602895)), 1796649621.51, 1e-6);
    // The millisecond clock wraps after 49.7 days; the wall time counts on.
    WallClockMap wrapping([] { return 1796649621000000000ull; });
    wrapping.timestampOf(0xFFFFFFF0u);
    EXPECT_NEAR(seconds(wrapping.timestampOf(0x10u)), 1796649621.032, 1e-6);
}

} // namespace
} // namespace vornigtl
