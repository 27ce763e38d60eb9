#include "vorn/console/terminal.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace vorn::console {

namespace {

// What the restore paths need, kept where a signal handler may read it.
struct SavedTerminal {
    int fd = -1;
    termios settings{};
    volatile sig_atomic_t saved = 0;
};
SavedTerminal g_saved;

void restoreSavedTerminal() {
    if (g_saved.saved) tcsetattr(g_saved.fd, TCSANOW, &g_saved.settings);
}

extern "C" void restoreAndRaise(int signalNumber) {
    restoreSavedTerminal();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void installRestorePaths() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    std::atexit(restoreSavedTerminal);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction action {};
        action.sa_handler = restoreAndRaise;
        sigemptyset(&action.sa_mask);
        sigaction(s, &action, nullptr);
    }
}

}  // namespace

Terminal::Terminal(int inputFd, int outputFd) : inputFd_(inputFd), outputFd_(outputFd) {
    termios settings{};
    isTty_ = isatty(inputFd_) && tcgetattr(inputFd_, &settings) == 0;
    if (isTty_) {
        g_saved.fd = inputFd_;
        g_saved.settings = settings;
        g_saved.saved = 1;
        installRestorePaths();
    }
}

Terminal::~Terminal() {
    if (isTty_) {
        restoreSavedTerminal();
        g_saved.saved = 0;
    }
}

void Terminal::write(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(outputFd_, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the reader has gone; nothing useful is left to do with the text
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool Terminal::waitForInput(int timeoutMs) {
    if (ended_) return false;
    pollfd p{inputFd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready <= 0) return true;  // time-out or a signal: the caller looks again
    char buffer[256];
    const ssize_t n = ::read(inputFd_, buffer, sizeof buffer);
    if (n > 0) {
        pending_.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        ended_ = true;
        return false;
    }
    return true;
}

void Terminal::useKeyMode() { applyMode(true); }
void Terminal::useLineMode() { applyMode(false); }

void Terminal::applyMode(bool keyMode) {
    if (!isTty_ || keyMode_ == keyMode) return;
    termios settings = g_saved.settings;
    if (keyMode) {
        settings.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        settings.c_cc[VMIN] = 0;
        settings.c_cc[VTIME] = 0;
    }
    tcsetattr(inputFd_, TCSANOW, &settings);
    keyMode_ = keyMode;
}

}  // namespace vorn::console
