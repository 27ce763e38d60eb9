#include "pty_session.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>

namespace vorn::humsift::testing {

PtySession::PtySession(const std::string& program, const std::string& directory, std::vector<std::string> arguments,
                       const std::vector<std::string>& environment)
{
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    winsize size {};
    size.ws_row = 25;
    size.ws_col = 80;
    child_ = forkpty(&master_, nullptr, nullptr, &size);
    if (child_ == 0) {
        if (chdir(directory.c_str()) != 0)
            _exit(126);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        for (const std::string& change : environment) {
            const auto equals = change.find('=');
            if (equals == std::string::npos)
                unsetenv(change.c_str());
            else
                setenv(change.substr(0, equals).c_str(), change.substr(equals + 1).c_str(), 1);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

PtySession::~PtySession()
{
    // Hanging up ends the session's jobs too (an interactive shell ignores SIGTERM but not this);
    // whatever is left after a while is killed, so a failed test never hangs.
    if (master_ >= 0)
        close(master_);
    if (child_ <= 0)
        return;
    kill(child_, SIGHUP);
    kill(child_, SIGTERM);
    for (int waited = 0; waited < 100; ++waited) {
        if (waitpid(child_, nullptr, WNOHANG) == child_)
            return;
        usleep(20000);
    }
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
}

bool PtySession::readSome(int timeoutMs)
{
    pollfd p {master_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0)
        return false; // EIO once the program has closed the terminal
    screen_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

bool PtySession::expect(const std::string& text, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto found = screen_.find(text, matched_);
        if (found != std::string::npos) {
            matched_ = found + text.size();
            return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        if (readSome(static_cast<int>(std::min<long long>(left, 200))))
            continue;
        // Nothing more can come once the program is gone and its output is read.
        int status = 0;
        if (child_ <= 0)
            return false;
        if (waitpid(child_, &status, WNOHANG) == child_) {
            child_ = -1;
            exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            while (readSome(50)) {
            }
        }
    }
}

void PtySession::type(const std::string& keys)
{
    std::size_t done = 0;
    while (done < keys.size()) {
        const ssize_t n = write(master_, keys.data() + done, keys.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

int PtySession::waitForExit(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (child_ <= 0)
        return exitStatus_;
    while (child_ > 0) {
        int status = 0;
        if (waitpid(child_, &status, WNOHANG) == child_) {
            child_ = -1;
            while (readSome(50)) {
            }
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
        readSome(50); // keeps the terminal drained so the program never blocks on output
    }
    return -1;
}

} // namespace vorn::humsift::testing
