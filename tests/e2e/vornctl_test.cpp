// vornctl as a user runs it: against the simulator, with bad options, and
// stopped with Ctrl-C in the middle of a stream.
#include "sim_fixture.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// A running vornctl with its output on pipes.
class Child {
public:
    explicit Child(const std::vector<std::string>& args)
    {
        EXPECT_EQ(pipe2(out_, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(err_, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out_[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err_[1], 2);
        std::vector<char*> argv {const_cast<char*>(VORNCTL_PATH)};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, VORNCTL_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out_[1]);
        close(err_[1]);
    }

    // Reads output until `text` appears on stdout, or the child ends.
    bool waitForOutput(const std::string& text, std::chrono::seconds limit)
    {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (run_.out.find(text) == std::string::npos && std::chrono::steady_clock::now() < until)
            if (!pump(100))
                return run_.out.find(text) != std::string::npos;
        return run_.out.find(text) != std::string::npos;
    }

    void signal(int number) { kill(pid_, number); }

    ProgramRun finish()
    {
        while (pump(1000)) {
        }
        waitpid(pid_, &run_.status, 0);
        run_.status = WIFEXITED(run_.status) ? WEXITSTATUS(run_.status) : 128 + WTERMSIG(run_.status);
        close(out_[0]);
        close(err_[0]);
        return run_;
    }

private:
    // Collects what is available; false when both pipes are closed.
    bool pump(int timeoutMs)
    {
        pollfd fds[2] = {{out_[0], POLLIN, 0}, {err_[0], POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) <= 0)
            return true;
        bool open = false;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents == 0) {
                open = true;
                continue;
            }
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? run_.out : run_.err).append(buffer, static_cast<std::size_t>(n));
                open = true;
            }
        }
        return open;
    }

    pid_t pid_ = -1;
    int out_[2] {};
    int err_[2] {};
    ProgramRun run_;
};

ProgramRun vornctl(const std::vector<std::string>& args)
{
    return Child(args).finish();
}

int countLines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

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
