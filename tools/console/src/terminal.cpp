#include "vorn/console/terminal.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace vorn::console {

namespace {

// What the signal handlers need, kept where they may read it: the user's own settings and the
// settings of the mode the program is in.
struct SavedTerminal {
    int fd = -1;
    termios settings {};
    volatile sig_atomic_t saved = 0;
    termios programSettings {};
    volatile sig_atomic_t programMode = 0; // programSettings differ from the user's
};
SavedTerminal g_saved;

void restoreSavedTerminal()
{
    if (g_saved.saved)
        tcsetattr(g_saved.fd, TCSANOW, &g_saved.settings);
}

// After a stop, the shell has had the terminal and set its own modes; a program in the background
// leaves the terminal alone (setting it would stop the program again).
void reapplyProgramMode()
{
    if (g_saved.saved && g_saved.programMode && tcgetpgrp(g_saved.fd) == getpgrp())
        tcsetattr(g_saved.fd, TCSANOW, &g_saved.programSettings);
}

extern "C" void restoreAndRaise(int signalNumber)
{
    restoreSavedTerminal();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

extern "C" void onContinue(int)
{
    const int savedErrno = errno;
    reapplyProgramMode();
    errno = savedErrno;
}

void installHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
}

// Ctrl-Z: give the shell the user's settings, stop, and take the program's mode back on return.
extern "C" void onStop(int signalNumber)
{
    const int savedErrno = errno;
    restoreSavedTerminal();
    std::signal(signalNumber, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, signalNumber);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    std::raise(signalNumber); // the program stops here until it is continued
    installHandler(signalNumber, onStop);
    reapplyProgramMode();
    errno = savedErrno;
}

void installRestorePaths()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    std::atexit(restoreSavedTerminal);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        installHandler(s, restoreAndRaise);
    installHandler(SIGTSTP, onStop);
    installHandler(SIGCONT, onContinue);
}

} // namespace

Terminal::Terminal(int inputFd, int outputFd) : inputFd_(inputFd), outputFd_(outputFd)
{
    termios settings {};
    isTty_ = isatty(inputFd_) && tcgetattr(inputFd_, &settings) == 0;
    if (isTty_) {
        g_saved.fd = inputFd_;
        g_saved.settings = settings;
        g_saved.programMode = 0;
        g_saved.saved = 1;
        installRestorePaths();
    }
}

Terminal::~Terminal()
{
    if (isTty_) {
        restoreSavedTerminal();
        g_saved.saved = 0;
    }
}

void Terminal::write(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(outputFd_, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the reader has gone; nothing useful is left to do with the text
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool Terminal::waitForInput(int timeoutMs)
{
    if (ended_)
        return false;
    pollfd p {inputFd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready <= 0)
        return true; // time-out or a signal: the caller looks again
    char buffer[256];
    const ssize_t n = ::read(inputFd_, buffer, sizeof buffer);
    if (n > 0) {
        // Keys typed with echo off are a prefix of what waits, unless shown lines wait before them.
        if (keyMode_ && unechoed_ == pending_.size())
            unechoed_ += static_cast<std::size_t>(n);
        pending_.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        ended_ = true;
        return false;
    }
    return true;
}

std::string Terminal::take(std::size_t count)
{
    count = std::min(count, pending_.size());
    std::string taken = pending_.substr(0, count);
    pending_.erase(0, count);
    const std::size_t hidden = std::min(count, unechoed_);
    unechoed_ -= hidden;
    // Typed ahead while keys were read unechoed, and now taken as part of a line: show it as the
    // terminal would have.
    if (!keyMode_ && hidden > 0)
        write(std::string_view(taken).substr(0, hidden));
    return taken;
}

void Terminal::useKeyMode()
{
    applyMode(true);
}
void Terminal::useLineMode()
{
    applyMode(false);
}

void Terminal::applyMode(bool keyMode)
{
    if (!isTty_ || keyMode_ == keyMode)
        return;
    if (!keyMode) {
        // What was typed ahead unechoed stays unechoed under the new mode: collect it first.
        while (!ended_ && hasInputNow())
            waitForInput(0);
    }
    termios settings = g_saved.settings;
    if (keyMode) {
        settings.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        settings.c_cc[VMIN] = 0;
        settings.c_cc[VTIME] = 0;
    }
    g_saved.programMode = 0;
    g_saved.programSettings = settings;
    g_saved.programMode = keyMode ? 1 : 0;
    tcsetattr(inputFd_, TCSANOW, &settings);
    keyMode_ = keyMode;
}

bool Terminal::hasInputNow() const
{
    pollfd p {inputFd_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

} // namespace vorn::console
