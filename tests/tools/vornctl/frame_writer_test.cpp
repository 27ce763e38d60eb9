#include "frame_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace vornctl {
namespace {

// Runs a writer over frames and returns what it printed.
std::string render(OutputFormat format, const std::vector<UnitLayout>& units, const std::vector<VornFrame>& frames,
                   WriterSetup setup = {})
{
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    {
        auto writer = makeFrameWriter(format, out, units, setup);
        for (const auto& frame : frames)
            writer->write(frame, frame.time + 500); // the host's clock half a second ahead
        writer->finish();
    }
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

WriterSetup liveIn(TerminalSize terminal = {})
{
    WriterSetup setup;
    setup.live = true;
    setup.terminal = terminal;
    return setup;
}

// Unit 1 position/angles at 72 inches, unit 3 quaternion with button.
const std::vector<UnitLayout> kMixed {{1, 4, 72, false}, {3, 7, 36, true}};

VornFrame sampleFrame()
{
    VornFrame frame {};
    frame.time = 12345;
    frame.reading[1].position[0] = 32767; // full scale: 72 in
    frame.reading[1].position[1] = -16384;
    frame.reading[1].angles[0] = -32767; // -180 deg
    frame.reading[1].angles[2] = 16384;
    frame.reading[3].quaternion[0] = 32767;
    frame.reading[3].button = 200;
    return frame;
}

TEST(VornctlOutput, ConvertsRawIntegersToInchesAndDegrees)
{
    EXPECT_DOUBLE_EQ(inchesOf(32767, 72), 72.0);
    EXPECT_DOUBLE_EQ(inchesOf(-32767, 36), -36.0);
    EXPECT_NEAR(inchesOf(-16384, 72), -36.0011, 1e-4);
    EXPECT_DOUBLE_EQ(degreesOf(-32767), -180.0);
    EXPECT_NEAR(degreesOf(16384), 90.0027, 1e-4);
    EXPECT_DOUBLE_EQ(fractionOf(32767), 1.0);
}

TEST(VornctlOutput, CsvHasOneColumnSetForAllUnitsAndBlanksWhatAUnitLacks)
{
    const std::string text = render(OutputFormat::Csv, kMixed, {sampleFrame()});
    EXPECT_EQ(text, "time_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg,q0,q1,q2,q3,button\n"
                    "12.345,1,72.000,-36.001,0.000,-180.000,0.000,90.003,,,,,\n"
                    "12.345,3,,,,,,,1.00000,0.00000,0.00000,0.00000,200\n");
}

TEST(VornctlOutput, JsonLinesCarryOnlyEachUnitsOwnFields)
{
    const std::string text = render(OutputFormat::Json, kMixed, {sampleFrame(), sampleFrame()});
    const std::string line =
        "{\"time_s\":12.345,\"units\":[{\"unit\":1,\"position_in\":[72.000,-36.001,0.000],"
        "\"angles_deg\":[-180.000,0.000,90.003]},{\"unit\":3,\"quaternion\":[1.00000,0.00000,0.00000,0.00000],"
        "\"button\":200}]}\n";
    EXPECT_EQ(text, line + line);
}

TEST(VornctlOutput, TableToAPipePrintsAHeaderOnceAndARowPerUnit)
{
    const std::string text = render(OutputFormat::Table, {{0, 1, 36, false}}, {sampleFrame(), sampleFrame()});
    EXPECT_EQ(text.find("\x1b"), std::string::npos);
    EXPECT_EQ(text.find("time_s"), text.rfind("time_s"));
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    EXPECT_EQ(lines, 3);
}

TEST(VornctlOutput, LiveTableRedrawsInPlaceAtMostTenTimesASecond)
{
    std::vector<VornFrame> frames;
    for (uint32_t t = 0; t < 1000; t += 10) { // 100 frames over one second
        VornFrame frame {};
        frame.time = 5000 + t;
        frames.push_back(frame);
    }
    const std::string text = render(OutputFormat::Table, {{1, 1, 36, false}}, frames, liveIn());
    std::size_t redraws = 0;
    for (std::size_t at = text.find("\x1b[3A"); at != std::string::npos; at = text.find("\x1b[3A", at + 1))
        ++redraws;
    EXPECT_GE(redraws, 9u);
    EXPECT_LE(redraws, 11u);
    EXPECT_NE(text.find("100 frames"), std::string::npos); // the last frame is always shown
}

TEST(VornctlOutput, HostTimeColumnSitsBesideTheFramesOwnTimeStamp)
{
    WriterSetup hostTime;
    hostTime.hostTime = true;
    const std::string csv = render(OutputFormat::Csv, {{1, 1, 36, false}}, {sampleFrame()}, hostTime);
    EXPECT_EQ(csv, "time_s,host_time_s,unit,x_in,y_in,z_in\n12.345,12.845,1,36.000,-18.001,0.000\n");
    const std::string json = render(OutputFormat::Json, {{1, 1, 36, false}}, {sampleFrame()}, hostTime);
    EXPECT_EQ(json.rfind("{\"time_s\":12.345,\"host_time_s\":12.845,\"units\":[", 0), 0u) << json;
}

TEST(VornctlOutput, LiveTableFitsASmallTerminal)
{
    // Position and angles of 30 units in 80 x 25: one row per line, a note for the rest.
    std::vector<UnitLayout> units;
    for (int address = 1; address <= 30; ++address)
        units.push_back({address, 4, 36, false});
    const std::string text = render(OutputFormat::Table, units, {sampleFrame(), sampleFrame()}, liveIn({25, 80}));
    std::size_t lines = 0, longest = 0, start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start)) {
        const std::string line = text.substr(start, end - start);
        const std::size_t at = line.rfind("\x1b[2K"); // the visible part follows the last control sequence
        longest = std::max(longest, line.size() - (at == std::string::npos ? 0 : at + 4));
        ++lines;
    }
    EXPECT_LT(longest, 80u);
    EXPECT_EQ(lines, 2u * 24);                             // drawn twice, 24 lines each
    EXPECT_NE(text.find("\r\x1b[24A"), std::string::npos); // back to the top, from any column
    EXPECT_NE(text.find("8 more unit(s)"), std::string::npos) << text;
    // Matrices do not fit 80 columns: cut at the edge, and said so.
    const std::string wide = render(OutputFormat::Table, {{1, 5, 36, false}}, {sampleFrame()}, liveIn({25, 80}));
    EXPECT_NE(wide.find("columns cut"), std::string::npos);
}

} // namespace
} // namespace vornctl
