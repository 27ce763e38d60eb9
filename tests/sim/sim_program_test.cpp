// The vornsim program: publishes its lines, and stops cleanly on SIGINT and SIGTERM.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using std::chrono::milliseconds;

struct Program {
    pid_t pid = -1;
    std::filesystem::path envFile;
};

Program startVornsim(const std::filesystem::path& folder)
{
    Program program;
    program.envFile = folder / "vorn.env";
    std::vector<std::string> args = {VORNSIM_PATH,  "--quiet",
                                     "--units",     "2",
                                     "--own-lines", "2",
                                     "--env-file",  program.envFile.string(),
                                     "--dir",       (folder / "lines").string()};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    EXPECT_EQ(posix_spawn(&program.pid, VORNSIM_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 200 && !std::filesystem::exists(program.envFile); ++i) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    return program;
}

// The exit status, or -1 if the program did not end within two seconds.
int waitForExit(pid_t pid)
{
    for (int i = 0; i < 200; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

} // namespace

TEST(SimProgram, PublishesLinesAndStopsCleanlyOnEachStopSignal)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        char pattern[] = "/tmp/vornsim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        const std::filesystem::path folder = pattern;
        const Program program = startVornsim(folder);
        ASSERT_TRUE(std::filesystem::exists(program.envFile));
        std::ifstream in(program.envFile);
        std::string first, second;
        std::getline(in, first);
        std::getline(in, second);
        EXPECT_EQ(first, "VORN_COM1=" + (folder / "lines" / "COM1").string());
        EXPECT_EQ(second, "VORN_COM2=" + (folder / "lines" / "COM2").string());
        EXPECT_TRUE(std::filesystem::is_symlink(folder / "lines" / "COM2"));
        kill(program.pid, signal);
        EXPECT_EQ(waitForExit(program.pid), 0) << "signal " << signal;
        EXPECT_FALSE(std::filesystem::exists(program.envFile));
        EXPECT_FALSE(std::filesystem::exists(folder / "lines" / "COM1"));
        std::filesystem::remove_all(folder);
    }
}
