#include "core/data_file_reader.h"
#include "core/data_file_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace vornscope {
namespace {

std::unique_ptr<SampleFrame> frameWithPositions(int units)
{
    auto frame = std::make_unique<SampleFrame>();
    for (int unit = 1; unit <= units; ++unit) {
        frame->sensors[unit].position = {12.3456 * unit, -0.5, 3};
        frame->sensors[unit].content = content::kPosition;
    }
    return frame;
}

TEST(DataFileWriter, LinesAndNumberFormat)
{
    auto frame = frameWithPositions(2);
    EXPECT_EQ(targetFrameText(*frame, {1, 2}, {}),
              "1pos:12.3456  -0.5000  3.0000\n2pos:24.6912  -0.5000  3.0000\n0end-frame:\n");

    // Present units are renumbered from 1; every line group by content.
    SensorRecord& sensor = frame->sensors[5];
    sensor.content = content::kAngles | content::kMatrix | content::kQuaternion | content::kButton;
    sensor.angles = {90, -45.25, 0};
    sensor.matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    sensor.quaternion = {1, 0, 0, 0};
    sensor.button = button::kMiddle;
    sensor.distortion = 77;
    frame->time = 1.5;
    EXPECT_EQ(targetFrameText(*frame, {5}, {true, true}),
              "1ang:90.0000  -45.2500  0.0000\n"
              "1mat:1.0000  0.0000  0.0000\n0.0000  1.0000  0.0000\n0.0000  0.0000  1.0000\n"
              "1quat:1.0000  0.0000  0.0000  0.0000\n"
              "1but:Middle Button Pressed\n1dist:77\n1time:1.5000\n0end-frame:\n");
    sensor.button = 3; // not a button the unit knows
    EXPECT_NE(targetFrameText(*frame, {5}, {}).find("1but:none\n"), std::string::npos);
}

TEST(DataFileReader, WhatTheWriterWroteReadsBack)
{
    GraphData written;
    written.setSensorCount(2);
    for (int point = 0; point < 3; ++point) {
        auto frame = frameWithPositions(2);
        frame->time = point * 0.25;
        frame->sensors[1].content |= content::kAngles | content::kButton;
        frame->sensors[1].angles = {point * 1.0, 2, 3};
        frame->sensors[1].button = std::array<std::int16_t, 3> {button::kLeft, button::kNone, button::kRight}[point];
        written.append(*frame);
    }
    GraphData read;
    ASSERT_EQ(readDataFile(graphFileText(written), read), ReadOutcome::Complete);
    ASSERT_EQ(read.count(), 3u);
    EXPECT_EQ(read.sensorCount(), 2);
    for (std::size_t point = 0; point < 3; ++point) {
        EXPECT_DOUBLE_EQ(read.time(point), point * 0.25);
        EXPECT_EQ(read.sensor(point, 1).button, written.sensor(point, 1).button) << point;
        EXPECT_DOUBLE_EQ(read.sensor(point, 1).angles[0], static_cast<double>(point));
        EXPECT_NEAR(read.sensor(point, 2).position[0], 24.6912, 1e-9);
        EXPECT_EQ(read.sensor(point, 2).content, content::kPosition | content::kTime);
    }
}

TEST(DataFileReader, EndsAndErrors)
{
    struct Case {
        const char* text;
        ReadOutcome outcome;
        std::size_t frames;
        int sensors;
    };
    const Case cases[] = {
        {"\n1pos:1  2  3\n0end-frame:\n", ReadOutcome::Complete, 1, 1},                      // leading blank line
        {"1pos:1 2 3\n0end-frame:\n3foo:1\n", ReadOutcome::Unrecognised, 1, 1},              // earlier frames stay
        {"1pos:1 2 3\n2pos:4 5 6\n0end-frame:\n", ReadOutcome::Complete, 1, 2},              // two sensors, two tabs
        {"1pos:1 2 3\n0end-frame:\n1pos:1 x 3\n0end-frame:\n", ReadOutcome::Complete, 1, 1}, // bad number
        {"1pos:1 2 3\n0end-frame:\n# note\n", ReadOutcome::Complete, 1, 1},                  // not a line group
        {"1pos:1 2 3\n0end-frame:\n1:\n", ReadOutcome::Complete, 1, 1},                      // empty keyword
        {"1averyveryverylongkeyword:1\n", ReadOutcome::Unrecognised, 0, 0},                  // over-long keyword
        {"1positionposition:1\n", ReadOutcome::Unrecognised, 0, 0},                          // 16 characters
        {"127pos:1 2 3\n0end-frame:\n", ReadOutcome::Unrecognised, 0, 0},                    // no such unit
        {"99999999999999999999pos:1\n", ReadOutcome::Complete, 0, 0},                        // number out of range
        {"1pos 1 2 3\n", ReadOutcome::Unrecognised, 0, 0},                                   // no colon
        {"1but:12\n1dist:40\n1time:2.5\n0end-frame:\n", ReadOutcome::Complete, 1, 1},
        {"", ReadOutcome::Complete, 0, 0},
    };
    for (const Case& c : cases) {
        GraphData graph;
        EXPECT_EQ(readDataFile(c.text, graph), c.outcome) << c.text;
        EXPECT_EQ(graph.count(), c.frames) << c.text;
        EXPECT_EQ(graph.sensorCount(), c.sensors) << c.text;
    }
}

// Three sensors, every line group, three frames: what a target file with
// distortion and times on holds.
std::string everyKeywordText()
{
    std::string text;
    for (int point = 0; point < 3; ++point) {
        auto frame = std::make_unique<SampleFrame>();
        frame->time = 0.125 * point;
        for (int unit = 1; unit <= 3; ++unit) {
            SensorRecord& sensor = frame->sensors[unit];
            sensor.content =
                content::kPosition | content::kAngles | content::kMatrix | content::kQuaternion | content::kButton;
            sensor.position = {1.5 * unit, -2.25 * point, 3};
            sensor.angles = {179.9 - point, -0.5 * unit, 45};
            sensor.matrix = {1, 0, 0, 0, 0.5, -0.5, 0, 0.5, 0.5};
            sensor.quaternion = {0.5, -0.5, 0.5, -0.5};
            sensor.button = point == 1 ? button::kRight : button::kNone;
            sensor.distortion = static_cast<std::uint16_t>(10 * unit + point);
        }
        text += targetFrameText(*frame, {1, 2, 3}, {true, true});
    }
    return text;
}

std::string replacedLineEnds(std::string_view text, std::string_view lineEnd)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

TEST(DataFileReader, CrLfAndBlanksBeforeLineEndsReadLikeLf)
{
    const std::string lf = everyKeywordText();
    GraphData expected;
    ASSERT_EQ(readDataFile(lf, expected), ReadOutcome::Complete);
    ASSERT_EQ(expected.count(), 3u);
    ASSERT_EQ(expected.sensorCount(), 3);
    for (std::string_view lineEnd : {"\r\n", " \n", " \r\n", "\t \r\n"}) {
        GraphData read;
        EXPECT_EQ(readDataFile(replacedLineEnds(lf, lineEnd), read), ReadOutcome::Complete);
        EXPECT_EQ(read.sensorCount(), 3);
        // Same frames: the same text when written out again.
        EXPECT_EQ(graphFileText(read), graphFileText(expected)) << "line end of " << lineEnd.size() << " bytes";
    }
    // Text after the data still ends it.
    GraphData read;
    EXPECT_EQ(readDataFile(replacedLineEnds(lf, "\r\n") + "end of the recording\r\n", read), ReadOutcome::Complete);
    EXPECT_EQ(read.count(), 3u);
}

TEST(DataFileReader, ReportsProgressAndStopsWhenCancelled)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "1pos:1.0000  2.0000  3.0000\n0end-frame:\n";
    ReadProgress progress;
    GraphData graph;
    EXPECT_EQ(readDataFile(text, graph, &progress), ReadOutcome::Complete);
    EXPECT_EQ(progress.done.load(), text.size());
    EXPECT_EQ(graph.count(), 20000u);
    ReadProgress cancelled;
    cancelled.cancel = true;
    EXPECT_EQ(readDataFile(text, graph, &cancelled), ReadOutcome::Cancelled);
    EXPECT_LT(graph.count(), 20000u);
}

TEST(DataFileReader, FixedPointValuesReadExactlyAsFromChars)
{
    // The reader's short path for fixed-point text must round as the general one does.
    const char* texts[] = {"0.1000",  "-12.3456",         "179.9999",
                           "-0.0000", "123456789.012345", "0.30000000000000004",
                           "1e3",     "2.5E-2",           "99999999999999999999",
                           ".5"};
    for (const char* number : texts) {
        GraphData graph;
        ASSERT_EQ(readDataFile(std::string("1time:") + number + "\n0end-frame:\n", graph), ReadOutcome::Complete);
        ASSERT_EQ(graph.count(), 1u) << number;
        EXPECT_EQ(graph.time(0), std::strtod(number, nullptr)) << number;
    }
}

TEST(DataFileReader, ButtonTextsAndNumbersAndTheirContentBits)
{
    GraphData graph;
    ASSERT_EQ(readDataFile("1but:Left Button Pressed\n2but:Right Button Pressed\n3but:none\n4but:48\n"
                           "4dist:40\n4time:2.5\n0end-frame:\n",
                           graph),
              ReadOutcome::Complete);
    ASSERT_EQ(graph.count(), 1u);
    ASSERT_EQ(graph.sensorCount(), 4);
    EXPECT_EQ(graph.sensor(0, 1).button, 16);
    EXPECT_EQ(graph.sensor(0, 2).button, 112);
    EXPECT_EQ(graph.sensor(0, 3).button, 0);
    EXPECT_EQ(graph.sensor(0, 4).button, 48);
    EXPECT_EQ(graph.sensor(0, 4).distortion, 40);
    EXPECT_EQ(graph.sensor(0, 4).content, content::kButton | content::kDistortion | content::kTime);
    EXPECT_DOUBLE_EQ(graph.time(0), 2.5);
}

TEST(DataFileWriter, FileTruncatesAndReportsOpenFailure)
{
    const std::string path = ::testing::TempDir() + "vornscope_writer_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat";
    {
        DataFileWriter writer;
        ASSERT_TRUE(writer.open(path));
        EXPECT_TRUE(writer.write("a long first text\n"));
    }
    {
        DataFileWriter writer;
        ASSERT_TRUE(writer.open(path));
        EXPECT_TRUE(writer.write("short\n"));
        EXPECT_EQ(writer.path(), path);
    }
    std::string text;
    ASSERT_TRUE(loadFileText(path, text));
    EXPECT_EQ(text, "short\n");
    DataFileWriter failing;
    EXPECT_FALSE(failing.open("/nonexistent-folder/x.dat"));
    EXPECT_FALSE(failing.write("x"));
    EXPECT_FALSE(loadFileText("/nonexistent-folder/x.dat", text));
    std::remove(path.c_str());
}

} // namespace
} // namespace vornscope
