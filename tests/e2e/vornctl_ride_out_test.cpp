// vornctl record --ride-out against a unit that goes away while it records:
// a serial line hung up and back, a networked controller stopped and
// started again on its port. The file keeps the frames before and after
// with the gap noted between them, and still reads as a recording.
#include "controller/controller_server.h"
#include "replay/replay_file.h"
#include "sim_fixture.h"
#include "vornctl_run.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using namespace std::chrono_literals;

std::string textOf(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Frames in the file so far, as vornsim --replay and Vornscope read it.
std::size_t framesIn(const std::string& path)
{
    const auto load = vorn::sim::readReplayText(textOf(path), path);
    return load.motion ? load.motion->frames.size() : 0;
}

class VornctlRideOut : public SimulatorTest {
protected:
    // A new file, written in place as it grows (an old one would be replaced only at the end).
    static std::string file(const std::string& name)
    {
        const std::string path = testing::TempDir() + "vornctl_ride_out_" + name;
        std::remove(path.c_str());
        return path;
    }

    // Waits for `more` frames beyond those the file has now.
    static bool framesGrow(Child& child, const std::string& path, std::size_t more)
    {
        const std::size_t target = framesIn(path) + more;
        return child.waitUntil([&] { return framesIn(path) >= target; }, 15s);
    }
};

TEST_F(VornctlRideOut, AHungUpLineLeavesANotedGapAndTheRecordingGoesOn)
{
    startSimulator(vorn::sim::vornsetConfig(1));
    const std::string path = file("line.csv");
    Child child({"record", path, "-p", "1", "-n", "1", "--ride-out", "--read-timeout", "500"});
    ASSERT_TRUE(framesGrow(child, path, 20)) << child.errorSoFar();
    simulator->line(1).closeLine(300ms);
    ASSERT_TRUE(child.waitForError("recording goes on", 25s)) << child.errorSoFar();
    ASSERT_TRUE(framesGrow(child, path, 20)) << child.errorSoFar();
    child.signal(SIGINT);
    const ProgramRun run = child.finish();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("waking the units up again in 1 s (attempt 1)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 gap to "), std::string::npos) << run.err;

    const std::string text = textOf(path);
    const auto lost = text.find("# gap: lost after time_s ");
    const auto back = text.find("# gap: back at host_unix_s ");
    ASSERT_NE(lost, std::string::npos) << text.substr(0, 2000);
    ASSERT_NE(back, std::string::npos);
    EXPECT_LT(lost, back);
    EXPECT_NE(text.find(", error code 32\n", lost), std::string::npos) << text.substr(lost, 200);
    // Whole rows on both sides of the gap, and the readers read past it.
    EXPECT_NE(text.rfind("\n", lost - 1), std::string::npos);
    EXPECT_NE(text.find("\n", back), text.size() - 1);
    const auto load = vorn::sim::readReplayText(text, path);
    ASSERT_TRUE(load.motion) << load.error;
    EXPECT_EQ(load.motion->stoppedEarly, "");
    EXPECT_GE(load.motion->frames.size(), 40u);
}

TEST_F(VornctlRideOut, AControllerStoppedAndStartedAgainIsRiddenOutAndCtrlCEndsTheWaitForIt)
{
    vorn::sim::ControllerServer controller(vorn::sim::controllerConfig(1));
    controller.start();
    const std::string path = file("controller.jsonl");
    Child child({"record", path, "-t", "127.0.0.1:" + std::to_string(controller.port()), "--ride-out"});
    ASSERT_TRUE(framesGrow(child, path, 20)) << child.errorSoFar();
    controller.stop();
    ASSERT_TRUE(child.waitForError("(attempt 2)", 10s)) << child.errorSoFar();
    controller.reopenListener();
    ASSERT_TRUE(child.waitForError("recording goes on", 10s)) << child.errorSoFar();
    ASSERT_TRUE(framesGrow(child, path, 20)) << child.errorSoFar();

    // Gone for good this time: Ctrl-C during the wait ends the recording at once.
    controller.hangUpAll();
    controller.closeListener();
    ASSERT_TRUE(child.waitForError("(attempt 3)", 10s)) << child.errorSoFar();
    const auto asked = std::chrono::steady_clock::now();
    child.signal(SIGINT);
    const ProgramRun run = child.finish();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1500ms);
    EXPECT_EQ(run.status, 0) << run.err;

    const std::string text = textOf(path);
    EXPECT_NE(text.find("{\"gap\":\"lost\",\"time_s\":"), std::string::npos);
    EXPECT_NE(text.find("\"error_code\":16}\n"), std::string::npos) << text.substr(0, 3000);
    EXPECT_NE(text.find("{\"gap\":\"back\",\"host_unix_s\":"), std::string::npos);
    const auto lastLost = text.rfind("{\"gap\":\"lost\"");
    EXPECT_GT(lastLost, text.find("{\"gap\":\"back\""));
    EXPECT_EQ(text.find("\n", lastLost), text.size() - 1); // the note is the file's last line
    const auto load = vorn::sim::readReplayText(text, path);
    ASSERT_TRUE(load.motion) << load.error;
    EXPECT_EQ(load.motion->stoppedEarly, "");
    EXPECT_GE(load.motion->frames.size(), 40u);
}

} // namespace
