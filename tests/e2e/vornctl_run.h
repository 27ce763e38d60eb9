// vornctl run as a child process with its output on pipes, for the
// end-to-end tests of every connection.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Where the child's standard output goes: a pipe read here, a full disk, or nowhere.
enum class Output { Pipe, Full, Closed };

// A running vornctl with its output on pipes.
class Child {
public:
    explicit Child(const std::vector<std::string>& args, Output output = Output::Pipe)
    {
        EXPECT_EQ(pipe2(out_, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(err_, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (output == Output::Pipe)
            posix_spawn_file_actions_adddup2(&actions, out_[1], 1);
        else if (output == Output::Full)
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
        else
            posix_spawn_file_actions_addclose(&actions, 1);
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
        return waitUntil([&] { return run_.out.find(text) != std::string::npos; }, limit);
    }
    // The same on standard error.
    bool waitForError(const std::string& text, std::chrono::seconds limit)
    {
        return waitUntil([&] { return run_.err.find(text) != std::string::npos; }, limit);
    }
    // Collects output until `done` says so, the child ends, or `limit` passes.
    template <typename Done> bool waitUntil(Done done, std::chrono::seconds limit)
    {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < until)
            if (!pump(100))
                break;
        return done();
    }
    const std::string& errorSoFar() const { return run_.err; }

    void signal(int number) { kill(pid_, number); }

    // The reader goes away, as `head` does once it has its lines.
    void closeOutput()
    {
        close(out_[0]);
        out_[0] = -1;
    }

    ProgramRun finish()
    {
        while (pump(1000)) {
        }
        waitpid(pid_, &run_.status, 0);
        run_.status = WIFEXITED(run_.status) ? WEXITSTATUS(run_.status) : 128 + WTERMSIG(run_.status);
        if (out_[0] >= 0)
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
            if (fds[i].fd < 0)
                continue;
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

inline ProgramRun vornctl(const std::vector<std::string>& args, Output output = Output::Pipe)
{
    return Child(args, output).finish();
}

inline bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

inline int countLines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace
