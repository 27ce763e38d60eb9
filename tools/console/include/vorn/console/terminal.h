#pragma once
// The text terminal beneath a console program: raw byte input and output on two descriptors, and
// the switch between line mode (the terminal edits and echoes a whole line) and key mode (each
// key arrives at once, unechoed). The terminal's own settings come back when the object goes, when
// the program exits, and when it is stopped by Ctrl-C or a termination signal; after Ctrl-Z and
// "fg" the program's mode comes back.
#include <string>
#include <string_view>

namespace vorn::console {

class Terminal {
public:
    explicit Terminal(int inputFd = 0, int outputFd = 1);
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    void write(std::string_view text);

    // Waits up to timeoutMs (negative: without limit) for input and appends what arrived to
    // pending(). Returns false once the input has ended and nothing more can come.
    bool waitForInput(int timeoutMs);
    const std::string& pending() const { return pending_; }
    // Takes the first `count` bytes of pending(). Bytes typed ahead while keys were read (echo off)
    // and now taken in line mode are shown, so an answer typed ahead is seen.
    std::string take(std::size_t count);
    bool inputEnded() const { return ended_; }

    void useKeyMode();
    void useLineMode();

private:
    void applyMode(bool keyMode);
    bool hasInputNow() const;

    int inputFd_;
    int outputFd_;
    bool isTty_ = false;
    bool keyMode_ = false;
    bool ended_ = false;
    std::string pending_;
    std::size_t unechoed_ = 0; // leading bytes of pending_ typed with echo off
};

} // namespace vorn::console
