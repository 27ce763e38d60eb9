#include "child_process.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace igtltest {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
{
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char*> argv {const_cast<char*>(program.c_str())};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0)
        finish(std::chrono::milliseconds(0));
    if (outFd_ >= 0)
        close(outFd_);
    if (errFd_ >= 0)
        close(errFd_);
}

bool ChildProcess::pump(int timeoutMs)
{
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
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
        const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
        if (got > 0) {
            (i == 0 ? out_ : err_).append(buffer, static_cast<std::size_t>(got));
            open = true;
        } else {
            close(fds[i].fd);
            (i == 0 ? outFd_ : errFd_) = -1;
        }
    }
    return open;
}

bool ChildProcess::waitFor(const std::string& text, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    const auto seen = [&] { return out_.find(text) != std::string::npos || err_.find(text) != std::string::npos; };
    while (!seen() && std::chrono::steady_clock::now() < until)
        if (!pump(50))
            break;
    return seen();
}

void ChildProcess::signal(int number)
{
    if (pid_ > 0)
        kill(pid_, number);
}

int ChildProcess::finish(std::chrono::milliseconds limit)
{
    if (pid_ <= 0)
        return -1;
    const auto until = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= until) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        pump(20);
    }
    // What the child wrote last; bounded, as a grandchild may hold the pipes open.
    for (int i = 0; i < 50 && (outFd_ >= 0 || errFd_ >= 0); ++i)
        pump(10);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

long ChildProcess::numberAfter(const std::string& prefix) const
{
    for (const std::string* text : {&out_, &err_}) {
        const auto at = text->find(prefix);
        if (at != std::string::npos)
            return std::strtol(text->c_str() + at + prefix.size(), nullptr, 10);
    }
    return -1;
}

} // namespace igtltest
