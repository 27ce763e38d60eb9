// vornctl as a user runs it: against the simulator, with bad options, and
// stopped with Ctrl-C in the middle of a stream.
#include "sim_fixture.h"
#include "vornctl_run.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <sstream>
#include <sys/file.h>

namespace {

class Vornctl : public SimulatorTest {};

TEST_F(Vornctl, RejectsBadOptionsWithAMessageAndStatus2)
{
    for (const auto& args : std::vector<std::vector<std::string>> {
             {}, {"stream", "--rate", "0"}, {"stream", "-p", "x"}, {"fly"}, {"stream", "-c", "1", "-d", "1"}}) {
        const ProgramRun run = vornctl(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("vornctl: ", 0), 0u) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    const ProgramRun help = vornctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: vornctl COMMAND"), std::string::npos);
}

TEST_F(Vornctl, StreamsCsvForACountThenShutsTheGroupDown)
{
    startSimulator(vorn::sim::vornsetConfig(3));
    const ProgramRun run =
        vornctl({"stream", "-p", "1,0,0", "-c", "5", "-o", "csv", "--format", "position-angles", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("time_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg\n", 0), 0u) << run.out;
    EXPECT_EQ(countLines(run.out), 1 + 5 * 3);
    // The stream ended with a point command, and the last bytes were the stop.
    const auto bytes = simulator->line(1).received().bytes();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), 0x42);
}

TEST_F(Vornctl, CtrlCAndSigtermStopAnUnboundedStreamCleanlyAndQuietly)
{
    startSimulator(vorn::sim::vornsetConfig(2));
    for (int signal : {SIGINT, SIGTERM}) {
        Child child({"stream", "-p", "1,0", "-o", "json", "-q"});
        ASSERT_TRUE(child.waitForOutput("\"units\":[{\"unit\":1", std::chrono::seconds(20)));
        simulator->line(1).received().clear();
        child.signal(signal);
        const auto start = std::chrono::steady_clock::now();
        const ProgramRun run = child.finish();
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        // Stopped with a point command before the lines were closed.
        EXPECT_EQ(simulator->line(1).received().bytes(), (Bytes {0x42}));
        EXPECT_EQ(run.out.back(), '\n');
        // The read that the stop cancelled is no failure to report.
        EXPECT_EQ(run.err, "") << "signal " << signal;
    }
}

// Rows of a CSV output by unit address: the x_in column of each.
std::map<int, std::vector<double>> xByUnit(const std::string& csv)
{
    std::map<int, std::vector<double>> rows;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        double time = 0, x = 0;
        int unit = 0;
        if (std::sscanf(line.c_str(), "%lf,%d,%lf", &time, &unit, &x) == 3)
            rows[unit].push_back(x);
    }
    return rows;
}

TEST_F(Vornctl, GroupModeOffStreamsEveryUnitAndSingleFramesLeaveOutUnitsWithoutALine)
{
    startSimulator(vorn::sim::vornsetConfig(3));
    const ProgramRun stream = vornctl({"stream", "-p", "1,0,0", "--group-mode", "off", "-c", "6", "-o", "csv", "-q"});
    ASSERT_EQ(stream.status, 0) << stream.err;
    auto rows = xByUnit(stream.out);
    for (int unit = 1; unit <= 3; ++unit) {
        ASSERT_EQ(rows[unit].size(), 6u) << stream.out;
        for (std::size_t n = 1; n < 6; ++n) // each sensor moves smoothly: its own data every time
            EXPECT_NEAR(rows[unit][n], rows[unit][n - 1], 0.5) << "unit " << unit << "\n" << stream.out;
    }
    EXPECT_GT(std::abs(rows[1][0] - rows[2][0]), 1.0) << stream.out;

    const ProgramRun frames = vornctl({"frame", "-p", "1,0,0", "--group-mode", "off", "-c", "2", "-o", "csv", "-q"});
    ASSERT_EQ(frames.status, 0) << frames.err;
    rows = xByUnit(frames.out);
    EXPECT_EQ(rows.size(), 1u) << frames.out;
    EXPECT_EQ(rows[1].size(), 2u);
    EXPECT_TRUE(contains(frames.err, "units 2, 3 have no line of their own")) << frames.err;
}

TEST_F(Vornctl, StreamsUnitsThatEachHaveTheirOwnLineByDefault)
{
    auto config = vorn::sim::vornsetConfig(3);
    config.units[1].ownLine = true;
    config.units[2].ownLine = true;
    startSimulator(config);
    const ProgramRun run = vornctl({"stream", "-p", "1,2,3", "-c", "5", "-o", "csv", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = xByUnit(run.out);
    for (int unit = 1; unit <= 3; ++unit)
        EXPECT_EQ(rows.at(unit).size(), 5u) << run.out;
}

TEST_F(Vornctl, OutputThatCannotBeWrittenStopsTheJobWithAnError)
{
    startSimulator(vorn::sim::vornsetConfig(2));
    for (const auto& args : std::vector<std::vector<std::string>> {{"info", "-p", "1,0", "-q"},
                                                                   {"stream", "-p", "1,0", "-c", "50", "-q"}}) {
        const ProgramRun run = vornctl(args, Output::Full);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_TRUE(contains(run.err, "vornctl: cannot write the output: No space left on device")) << run.err;
    }
    const ProgramRun closed = vornctl({"info", "-p", "1,0", "-q"}, Output::Closed);
    EXPECT_EQ(closed.status, 1);
    EXPECT_TRUE(contains(closed.err, "standard output is closed")) << closed.err;

    // A reader that has had enough (`| head -3`) ends the stream cleanly: stopped, no error, status 0.
    Child child({"stream", "-p", "1,0", "-o", "csv", "-q"});
    ASSERT_TRUE(child.waitForOutput(",1,", std::chrono::seconds(20)));
    simulator->line(1).received().clear();
    child.closeOutput();
    const ProgramRun headed = child.finish();
    EXPECT_EQ(headed.status, 0) << headed.err;
    EXPECT_EQ(headed.err, "");
    EXPECT_EQ(simulator->line(1).received().bytes(), (Bytes {0x42}));
}

TEST_F(Vornctl, ExplainsWhyALineCannotBeUsedAndTakesDevicePaths)
{
    startSimulator(vorn::sim::vornsetConfig(1));
    const std::string path = simulator->linePath(1).string();
    // A device path where a COM number is asked.
    const ProgramRun byPath = vornctl({"info", "-p", path, "-q"});
    EXPECT_EQ(byPath.status, 0) << byPath.err;
    EXPECT_TRUE(contains(byPath.out, "Unit 1")) << byPath.out;

    const int held = open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const ProgramRun inUse = vornctl({"info", "-p", "1", "-q"});
    EXPECT_EQ(inUse.status, 3);
    EXPECT_TRUE(contains(inUse.err, "COM1 is " + path + ": in use by another program")) << inUse.err;
    close(held);

    const ProgramRun notSerial = vornctl({"info", "-p", "/dev/null", "-q"});
    EXPECT_EQ(notSerial.status, 3);
    EXPECT_TRUE(contains(notSerial.err, "is /dev/null: not a serial line")) << notSerial.err;
}

} // namespace
