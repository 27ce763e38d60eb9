// vornctl record without a group: its command line, the file's text, and a
// file that is replaced only once the new one is complete.
#include "options.h"
#include "record_file.h"
#include "record_status.h"
#include "record_writer.h"
#include "ride_out.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vornctl {
namespace {

std::string textOf(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Record, TakesExactlyOneFileAfterTheCommand)
{
    const auto parsed = parseCommandLine({"-p", "1,0", "record", "run.csv", "-c", "5"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->command, Command::Record);
    EXPECT_EQ(parsed.options->operand, "run.csv");
    EXPECT_FALSE(parseCommandLine({"record"}).options);
    EXPECT_FALSE(parseCommandLine({"record", "a.csv", "b.csv"}).options);
    EXPECT_FALSE(parseCommandLine({"stream", "a.csv"}).options); // other commands take no file
}

TEST(Record, AGapKeepsTheCountsTrueAndTheWaitsForTheUnitsAreBounded)
{
    // A controller that came back counts time afresh: no lost frames from
    // stamps that went back, and the rate over the time the units were there.
    RecordStatus status(nullptr, 0.010);
    for (uint32_t t = 5000; t < 5100; t += 10)
        status.frame(t);
    status.gap();
    for (uint32_t t = 20; t < 120; t += 10)
        status.frame(t);
    EXPECT_EQ(status.frames(), 20u);
    EXPECT_EQ(status.lost(), 0u);
    EXPECT_NE(status.summary().find("  0 lost  1 gap"), std::string::npos) << status.summary();
    EXPECT_NE(status.summary().find("100.0 Hz"), std::string::npos) << status.summary();

    BackOff backOff;
    std::vector<long> waits;
    for (int i = 0; i < 8; ++i)
        waits.push_back(static_cast<long>(backOff.next().count()));
    EXPECT_EQ(waits, (std::vector<long> {1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}));
}

TEST(Record, HeaderSaysWhatTheRowsAreAndJsonStaysValid)
{
    RecordContext context;
    context.startedUtc = utcText(1796649621.5);
    context.link = "serial at 9600 baud, unit 1 on COM1 (/tmp/a \"b\"\\c)";
    context.measurementRateHz = 100.0;
    context.units = {{{1, 4, 72, false}, 2, 2}, {{2, 7, 36, true}, 0, 1}};
    EXPECT_EQ(context.startedUtc, "2026-12-07T13:20:21.500Z");
    EXPECT_DOUBLE_EQ(framePeriodS(context), 0.02); // the slower unit's reports

    const RecordWriter csv(OutputFormat::Csv, context);
    const std::string header = csv.header();
    EXPECT_NE(header.find("# unit 1: data_format position-angles, scaling_in 72, hemisphere top, report_rate 2"),
              std::string::npos)
        << header;
    EXPECT_NE(
        header.find("\ntime_s,host_unix_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg,q0,q1,q2,q3,button\n"),
        std::string::npos)
        << header;
    VornFrame frame {};
    frame.time = 1500;
    frame.reading[1].position[0] = 32767;
    EXPECT_EQ(csv.frame(frame, 1796649621.25).substr(0, 44), "1.500,1796649621.250,1,72.000,0.000,0.000,0.");

    const std::string json = RecordWriter(OutputFormat::Json, context).header();
    EXPECT_NE(json.find("\"link\":\"serial at 9600 baud, unit 1 on COM1 (/tmp/a \\\"b\\\"\\\\c)\""), std::string::npos)
        << json;
    EXPECT_EQ(json.back(), '\n');
    EXPECT_EQ(json.find('\n'), json.size() - 1); // one line
}

TEST(Record, AnOldFileStaysUntilTheNewOneIsComplete)
{
    const std::string path = testing::TempDir() + "record_test_old.csv";
    std::ofstream(path) << "old\n";
    std::string error;
    auto file = RecordFile::open(path, error);
    ASSERT_TRUE(file) << error;
    EXPECT_NE(file->writtenPath(), path);
    EXPECT_TRUE(file->append("new\n"));
    EXPECT_EQ(textOf(path), "old\n");
    EXPECT_TRUE(file->close());
    EXPECT_EQ(textOf(path), "new\n");

    // A recording that never started leaves nothing behind, and the old file alone.
    file = RecordFile::open(path, error);
    ASSERT_TRUE(file);
    const std::string beside = file->writtenPath();
    file->discard();
    EXPECT_FALSE(std::ifstream(beside).good());
    EXPECT_EQ(textOf(path), "new\n");
    std::remove(path.c_str());

    EXPECT_FALSE(RecordFile::open("/nonexistent/folder/x.csv", error));
    EXPECT_NE(error.find("cannot write /nonexistent/folder/x.csv"), std::string::npos);
}

} // namespace
} // namespace vornctl
