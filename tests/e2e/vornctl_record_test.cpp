// vornctl record against the simulator, and the round trip through
// vornsim's replay: record the simulator's motion, replay it, record again,
// and get the same frames back within the units' resolution.
#include "replay/replay_file.h"
#include "settings/replay_setup.h"
#include "sim_fixture.h"
#include "vornctl_run.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Table {
    std::vector<std::string> header; // the "# ..." lines
    std::string columns;
    std::vector<std::vector<double>> rows;
};

Table readTable(const std::string& path)
{
    Table table;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("#", 0) == 0) {
            table.header.push_back(line);
        } else if (table.columns.empty()) {
            table.columns = line;
        } else {
            std::vector<double> row;
            std::stringstream fields(line);
            std::string field;
            while (std::getline(fields, field, ','))
                row.push_back(std::stod(field));
            table.rows.push_back(row);
        }
    }
    return table;
}

std::string textOf(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class VornctlRecord : public SimulatorTest {
protected:
    std::string file(const std::string& name) { return testing::TempDir() + "vornctl_record_" + name; }

    void startReplaying(vorn::sim::SimulatorConfig config, const std::string& recording)
    {
        const auto load = vorn::sim::loadReplayFile(recording);
        ASSERT_TRUE(load.motion) << load.error;
        ASSERT_GT(vorn::sim::applyReplay(config, *load.motion, false), 0);
        startSimulator(std::move(config));
    }
};

// Columns from x_in on (after time_s, host_unix_s, unit) must match row for
// row: a position within one step of 36 in / 32767, an angle within one step
// of 180 deg / 32767.
void expectSameFrames(const Table& first, const Table& second, std::size_t rows)
{
    ASSERT_EQ(first.columns, second.columns);
    ASSERT_EQ(first.rows.size(), rows);
    ASSERT_EQ(second.rows.size(), rows);
    int differing = 0;
    for (std::size_t r = 0; r < rows; ++r) {
        ASSERT_EQ(first.rows[r][2], second.rows[r][2]) << "row " << r; // the unit
        for (std::size_t c = 3; c < first.rows[r].size(); ++c) {
            const double step = c < 6 ? 36.0 / 32767.0 : 180.0 / 32767.0;
            if (std::abs(first.rows[r][c] - second.rows[r][c]) > step)
                ++differing;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(VornctlRecord, RecordedMotionReplayedAndRecordedAgainIsTheSameFrameForFrame)
{
    const std::string first = file("first.csv"), second = file("second.csv");
    std::remove(first.c_str());
    std::remove(second.c_str());
    startSimulator(vorn::sim::vornsetConfig(3));
    const ProgramRun recorded = vornctl({"record", first, "-p", "1,0,0", "-c", "150", "-q"});
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    simulator->stop();
    const Table original = readTable(first);
    EXPECT_EQ(original.columns, "time_s,host_unix_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg");
    const std::string header = textOf(first).substr(0, 800);
    for (const char* key : {"# vorn_record: 1", "# started_utc: 20", "# link: serial at 115200 baud, unit 1 on COM1 (",
                            "# measurement_rate_hz: 103.", "# unit 3: data_format position-angles, scaling_in 36",
                            "# units_of_measure: "})
        EXPECT_NE(header.find(key), std::string::npos) << key << "\n" << header;
    // The host's wall clock: within a minute of now.
    EXPECT_NEAR(original.rows.back()[1], static_cast<double>(std::time(nullptr)), 60.0);

    startReplaying(vorn::sim::vornsetConfig(3), first);
    const ProgramRun replayed = vornctl({"record", second, "-p", "1,0,0", "-c", "150", "-q"});
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    expectSameFrames(original, readTable(second), 150 * 3);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST_F(VornctlRecord, TheNetworkedControllerReplaysAJsonRecordingFrameForFrame)
{
    auto config = vorn::sim::vornsetConfig(1);
    config.controller = vorn::sim::controllerConfig(2);
    const std::string first = file("first.jsonl"), second = file("second.csv");
    std::remove(first.c_str());
    std::remove(second.c_str());
    startSimulator(config);
    const std::string server = "127.0.0.1:" + std::to_string(simulator->controller()->port());
    const ProgramRun recorded = vornctl({"record", first, "-t", server, "-c", "100", "-q"});
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    EXPECT_EQ(textOf(first).rfind("{\"vorn_record\":1,\"started_utc\":\"", 0), 0u);
    simulator->stop();

    startReplaying(config, first);
    const std::string replayServer = "127.0.0.1:" + std::to_string(simulator->controller()->port());
    const std::string again = file("again.jsonl");
    std::remove(again.c_str());
    ASSERT_EQ(vornctl({"record", again, "-t", replayServer, "-c", "100", "-q"}).status, 0);
    // The JSON rows, without their two time stamps, are the same within one
    // step of the units: 36 in / 32767 for positions, 1 / 32767 for quaternion
    // elements (which went through a rotation matrix on the way).
    const auto arraysOf = [](const std::string& text) {
        std::vector<std::pair<std::string, double>> values;
        const std::regex array("\"(position_in|quaternion)\":\\[([^\\]]*)\\]");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), array); it != std::sregex_iterator(); ++it) {
            std::stringstream numbers((*it)[2].str());
            std::string number;
            while (std::getline(numbers, number, ','))
                values.emplace_back((*it)[1].str(), std::stod(number));
        }
        return values;
    };
    const auto before = arraysOf(textOf(first)), after = arraysOf(textOf(again));
    ASSERT_EQ(before.size(), 100u * 2 * 7);
    ASSERT_EQ(after.size(), before.size());
    int differing = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const double step = before[i].first == "position_in" ? 36.0 / 32767.0 : 1.0 / 32767.0;
        differing += std::abs(before[i].second - after[i].second) > step + 5e-6;
    }
    EXPECT_EQ(differing, 0);
    std::remove(first.c_str());
    std::remove(again.c_str());
}

TEST_F(VornctlRecord, CtrlCEndsTheFileWholeAndAnOldFileIsReplacedOnlyWhenTheNewOneIsDone)
{
    const std::string path = file("interrupted.csv");
    {
        std::ofstream old(path);
        old << "an older recording\n";
    }
    startSimulator(vorn::sim::vornsetConfig(2));
    Child child({"record", path, "-p", "1,0", "-q"});
    // Until it is complete, the new recording grows beside the old one.
    const std::string beside = testing::TempDir() + ".vornctl_record_interrupted.csv.recording";
    for (int i = 0; i < 200 && textOf(beside).find("\n1") == std::string::npos; ++i)
        usleep(100000);
    EXPECT_EQ(textOf(path), "an older recording\n");
    child.signal(SIGINT);
    const ProgramRun run = child.finish();
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string text = textOf(path);
    EXPECT_EQ(text.rfind("# vorn_record: 1", 0), 0u);
    EXPECT_EQ(text.back(), '\n');
    const Table table = readTable(path);
    ASSERT_FALSE(table.rows.empty());
    EXPECT_EQ(table.rows.size() % 2, 0u); // whole frames of two units
    EXPECT_FALSE(std::ifstream(beside).good());
    std::remove(path.c_str());
}

TEST_F(VornctlRecord, AFullDiskStopsTheRecordingWithTheRowsBeforeItWhole)
{
    startSimulator(vorn::sim::vornsetConfig(1));
    // /dev/full: the header cannot be written; nothing else is lost.
    ProgramRun run = vornctl({"record", "/dev/full", "-p", "1", "-c", "5", "-q"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("No space left on device (the disk is full); nothing was recorded"), std::string::npos)
        << run.err;
    // A file that can take a few kilobytes only.
    const std::string path = file("full.csv");
    std::remove(path.c_str());
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 6000;
    setrlimit(RLIMIT_FSIZE, &small); // inherited by the child
    std::signal(SIGXFSZ, SIG_IGN);
    run = vornctl({"record", path, "-p", "1", "-q"});
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("recording stopped, the "), std::string::npos) << run.err;
    const std::string text = textOf(path);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_LE(text.size(), 6000u);
    for (const auto& row : readTable(path).rows)
        EXPECT_EQ(row.size(), 9u);
    std::remove(path.c_str());
}

} // namespace
