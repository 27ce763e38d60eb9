// Recordings read for --replay: each kind of file, the fields derived from
// what a file has, the recorded pace, and files that are empty, foreign or
// cut short.
#include "model/reading_builder.h"
#include "model/sensor_model.h"
#include "replay/recorded_motion.h"
#include "replay/replay_file.h"
#include "settings/options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

namespace vorn::sim {
namespace {

constexpr const char* kRecordCsv = "# vorn_record: 1 (vornctl record)\n"
                                   "# frame_period_s: 0.020000\n"
                                   "time_s,host_unix_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg\n"
                                   "10.000,1796649621.432,1,19.148,1.472,5.999,127.907,6.087,0.000\n"
                                   "10.000,1796649621.432,2,23.916,1.182,6.003,78.181,-2.022,0.044\n"
                                   "10.013,1796649621.442,1,19.126,1.490,6.016,128.522,6.262,0.000\n"
                                   "10.013,1796649621.442,2,23.933,1.204,6.021,78.708,-1.956,0.000\n";

RecordedMotion read(const std::string& text)
{
    const ReplayLoad load = readReplayText(text, "f");
    EXPECT_TRUE(load.motion) << load.error;
    return load.motion.value_or(RecordedMotion {});
}

TEST(SimReplay, ReadsEveryKindOfRecordingIntoTheSameFrames)
{
    const RecordedMotion csv = read(kRecordCsv);
    ASSERT_EQ(csv.frames.size(), 2u);
    EXPECT_DOUBLE_EQ(framePeriodOf(csv), 0.02); // the header's, not the stamps'
    EXPECT_DOUBLE_EQ((*csv.frames[1].sensors.at(2).position)[1], 1.204);
    EXPECT_DOUBLE_EQ(csv.frames[0].sensors.at(1).angles->azimuth, 127.907);

    // A stream CSV without header: the period comes from the time stamps.
    const RecordedMotion stream = read("time_s,unit,x_in,y_in,z_in\n1.000,1,1,2,3\n1.010,1,1,2,4\n1.020,1,1,2,5\n");
    ASSERT_EQ(stream.frames.size(), 3u);
    EXPECT_NEAR(framePeriodOf(stream), 0.01, 1e-9);
    // Stamps whose span overflows give no period of their own.
    EXPECT_NEAR(framePeriodOf(read("time_s,unit\n-1e308,1\n1e308,1\n")), 1.0 / 103.3, 1e-12);

    const RecordedMotion json =
        read("{\"vorn_record\":1,\"frame_period_s\":0.05,\"units\":[{\"unit\":3}]}\n"
             "{\"time_s\":2.000,\"host_unix_s\":1.5,\"units\":[{\"unit\":3,\"position_in\":[1,2,3],"
             "\"quaternion\":[1,0,0,0]}]}\n");
    ASSERT_EQ(json.frames.size(), 1u);
    EXPECT_DOUBLE_EQ(framePeriodOf(json), 0.05);
    EXPECT_TRUE(json.frames[0].sensors.at(3).quaternion);
    // A header period that is not a number (true reads as 1) leaves the stamps to tell.
    EXPECT_DOUBLE_EQ(framePeriodOf(read("{\"vorn_record\":1,\"frame_period_s\":true}\n"
                                        "{\"time_s\":1,\"units\":[]}\n{\"time_s\":1.5,\"units\":[]}\n")),
                     0.5);

    const RecordedMotion scope = read("1pos:  1.0000  2.0000  3.0000\n1mat:  1.0000  0.0000  0.0000\n"
                                      "0.0000  1.0000  0.0000\n0.0000  0.0000  1.0000\n1but:none\n1time:0.5000\n"
                                      "2pos:  4.0000  5.0000  6.0000\n0end-frame:\n");
    ASSERT_EQ(scope.frames.size(), 1u);
    EXPECT_TRUE(scope.frames[0].sensors.at(1).matrix);
    EXPECT_EQ(scope.frames[0].sensors.size(), 2u);
    EXPECT_EQ(sensorsOf(scope), (std::vector<int> {1, 2}));
}

TEST(SimReplay, ARecordingsGapNotesAreSteppedOver)
{
    std::string csv = kRecordCsv;
    csv.insert(csv.find("10.013"), "# gap: lost after time_s 10.000 at host_unix_s 1796649621.433, error code 16\n"
                                   "# gap: back at host_unix_s 1796649631.000 after 2 wake-up attempt(s)\n");
    const RecordedMotion motion = read(csv);
    EXPECT_EQ(motion.frames.size(), 2u);
    EXPECT_EQ(motion.stoppedEarly, "");

    const RecordedMotion json =
        read("{\"vorn_record\":1,\"frame_period_s\":0.05,\"units\":[{\"unit\":3}]}\n"
             "{\"time_s\":2.000,\"host_unix_s\":1.5,\"units\":[{\"unit\":3,\"position_in\":[1,2,3]}]}\n"
             "{\"gap\":\"lost\",\"time_s\":2.000,\"host_unix_s\":1.6,\"error_code\":16}\n"
             "{\"gap\":\"back\",\"host_unix_s\":9.5,\"attempts\":3}\n"
             "{\"time_s\":0.010,\"host_unix_s\":9.6,\"units\":[{\"unit\":3,\"position_in\":[1,2,4]}]}\n");
    EXPECT_EQ(json.frames.size(), 2u);
    EXPECT_EQ(json.stoppedEarly, "");
}

TEST(SimReplay, DerivesTheOrientationAFileLacksConsistently)
{
    const Angles angles {35.0, -20.0, 60.0};
    const Matrix3 m = matrixOfAngles(angles);
    // The quaternion's matrix is the matrix the quaternion was made of.
    const Matrix3 back = matrixOfQuaternion(quaternionOfMatrix(m));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(back[i][j], m[i][j], 1e-12);

    // A file with angles only reports those angles, and the matrix and quaternion that go with them.
    RecordedMotion motion;
    motion.frames.push_back({0.0, {{1, RecordedSensor {Vector3 {10, 0, 0}, angles, {}, {}}}}});
    const ReplayTrack track = trackOf(motion, 1, false);
    const VornReading reading = readingOf(track.poseAt(0), ReportFrame {});
    EXPECT_EQ(reading.angles[0], rawAngle(35.0));
    EXPECT_EQ(reading.angles[1], rawAngle(-20.0));
    EXPECT_EQ(reading.angles[2], rawAngle(60.0));
    EXPECT_NEAR(reading.matrix[2] / 32767.0, m[0][2], 1e-4);
    const Quaternion q = quaternionOfMatrix(m);
    EXPECT_NEAR(reading.quaternion[3] / 32767.0, q[3], 1e-4);
}

TEST(SimReplay, PlaysAtTheRecordedPaceFromTheFirstMeasurementAfterAReset)
{
    RecordedMotion motion;
    motion.framePeriodS = 0.01;
    for (int i = 0; i < 5; ++i)
        motion.frames.push_back({i * 0.01, {{1, RecordedSensor {Vector3 {double(i), 0, 0}, {}, {}, {}}}}});
    SensorConfig config;
    config.replay = std::make_shared<const ReplayTrack>(trackOf(motion, 1, false));
    SensorModel sensor(config, 1);
    const auto x = [&](double seconds) { return sensor.measure(seconds, {}).pose.position[0]; };
    EXPECT_EQ(x(100.0), 0.0);    // the first measurement starts the replay
    EXPECT_EQ(x(100.0104), 1.0); // a little late is still the next frame
    EXPECT_EQ(x(100.0296), 3.0);
    EXPECT_EQ(x(100.2), 4.0); // after the last frame: held
    sensor.restart();
    EXPECT_EQ(x(200.0), 0.0);

    ReplayTrack looped = trackOf(motion, 1, true);
    EXPECT_EQ(looped.poseAt(0.05).position[0], 0.0);
    EXPECT_EQ(looped.poseAt(0.07).position[0], 2.0);
    // A sensor missing from the first frames stands where it first appears.
    motion.frames[0].sensors.clear();
    EXPECT_EQ(trackOf(motion, 1, false).poseAt(0).position[0], 1.0);
}

TEST(SimReplay, RefusesEmptyAndForeignFilesAndKeepsTheFramesBeforeACut)
{
    for (const std::string text : {"", "\n\n  \n"})
        EXPECT_NE(readReplayText(text, "e.csv").error.find("e.csv is empty"), std::string::npos);
    for (const std::string text : {"\x7f"
                                   "ELF\x02\x01\x01",
                                   "hello world\n", "{not json\n", "time_s,unit\n"}) {
        const ReplayLoad load = readReplayText(text, "f");
        EXPECT_FALSE(load.motion) << text;
        EXPECT_FALSE(load.error.empty());
    }
    // Cut in the middle of a row: the whole frames before it are replayed, and the note says so.
    std::string cut = kRecordCsv;
    cut += "10.026,1796649621.452,1,19.1";
    ReplayLoad load = readReplayText(cut, "cut.csv");
    ASSERT_TRUE(load.motion);
    EXPECT_EQ(load.motion->frames.size(), 2u);
    EXPECT_NE(load.note.find("line 8 is cut short"), std::string::npos) << load.note;

    load =
        readReplayText("{\"time_s\":1,\"units\":[{\"unit\":1,\"position_in\":[1,2,3]}]}\n{\"time_s\":1.01,\"un", "j");
    ASSERT_TRUE(load.motion);
    EXPECT_EQ(load.motion->frames.size(), 1u);

    // A Vornscope file whose last frame has no end line.
    load = readReplayText("1pos:  1.0  2.0  3.0\n0end-frame:\n1pos:  1.0  2.0\n", "d.dat");
    ASSERT_TRUE(load.motion);
    EXPECT_EQ(load.motion->frames.size(), 1u);
    EXPECT_FALSE(load.note.empty());

    // Deeply nested JSON is refused, not recursed into.
    EXPECT_FALSE(readReplayText(std::string(100000, '[') + "\n", "deep").motion);
}

TEST(SimReplay, OptionsPutTheFileOnEveryLinkOrSayWhyNot)
{
    const std::string path = testing::TempDir() + "replay_options.csv";
    std::ofstream(path) << kRecordCsv;
    ProgramOptions options =
        parseProgramOptions({"--replay", path, "--loop", "--controller", "2", "--isa", "0x300,0,0"});
    ASSERT_TRUE(options.errors.empty()) << options.errors.front();
    EXPECT_TRUE(options.config.units[0].sensorModel.replay);
    EXPECT_TRUE(options.config.units[0].sensorModel.replay->loop);
    EXPECT_FALSE(options.config.units[2].sensorModel.replay); // unit 3: not in the file
    EXPECT_TRUE(options.config.controller->units[1].sensorModel.replay);
    EXPECT_TRUE(options.config.isa->units[0].sensorModel.replay);
    EXPECT_NE(options.replayNote.find("2 frames"), std::string::npos);

    // A stand-alone unit takes the file's first sensor.
    options = parseProgramOptions({"--replay", path, "--standalone"});
    ASSERT_TRUE(options.errors.empty());
    EXPECT_TRUE(options.config.units[0].sensorModel.replay);

    EXPECT_FALSE(parseProgramOptions({"--replay", "/nonexistent/file.csv"}).errors.empty());
    EXPECT_FALSE(parseProgramOptions({"--loop"}).errors.empty());
    std::ofstream(path) << "time_s,unit,x_in,y_in,z_in\n1.0,9,1,2,3\n";
    options = parseProgramOptions({"--replay", path});
    ASSERT_EQ(options.errors.size(), 1u);
    EXPECT_NE(options.errors[0].find("holds sensors 9"), std::string::npos);
    std::remove(path.c_str());
}

} // namespace
} // namespace vorn::sim
