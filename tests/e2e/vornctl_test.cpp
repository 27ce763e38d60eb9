// vornctl as a user runs it: against the simulator, with bad options, and
// stopped with Ctrl-C in the middle of a stream.
#include "sim_fixture.h"
#include "vornctl_run.h"

#include <csignal>
#include <cstdio>

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
    const ProgramRun run = vornctl({"stream", "-p", "1,0,0", "-c", "5", "-o", "csv", "--format", "position-angles", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("time_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg\n", 0), 0u) << run.out;
    EXPECT_EQ(countLines(run.out), 1 + 5 * 3);
    // The stream ended with a point command, and the last bytes were the stop.
    const auto bytes = simulator->line(1).received().bytes();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), 0x42);
}

TEST_F(Vornctl, CtrlCStopsAnUnboundedStreamCleanly)
{
    startSimulator(vorn::sim::vornsetConfig(2));
    Child child({"stream", "-p", "1,0", "-o", "json", "-q"});
    ASSERT_TRUE(child.waitForOutput("\"units\":[{\"unit\":1", std::chrono::seconds(20)));
    simulator->line(1).received().clear();
    child.signal(SIGINT);
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun run = child.finish();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Stopped with a point command before the lines were closed.
    EXPECT_EQ(simulator->line(1).received().bytes(), (Bytes {0x42}));
    EXPECT_EQ(run.out.back(), '\n');
}

} // namespace
