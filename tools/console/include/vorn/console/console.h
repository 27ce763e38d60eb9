#pragma once
// The console both tools talk through: screen control (clear, cursor placement), printing, whole
// lines from the keyboard and single keys. Waits for input never spin: they block in poll() in
// short slices and run the idle hook between slices, so a program with a window can keep that
// window alive while it waits for the user. Keys may also come from a window (injectKey).
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "vorn/console/key.h"
#include "vorn/console/terminal.h"

namespace vorn::console {

// Thrown when the keyboard input has ended (for example a closed pipe): a question can no longer
// be answered, so the program winds up instead of waiting for ever.
class InputClosed : public std::runtime_error {
public:
    InputClosed() : std::runtime_error("keyboard input ended") {}
};

class Console {
public:
    explicit Console(Terminal& terminal) : terminal_(terminal) {}

    void clearScreen();
    void moveCursor(int row, int column); // both 1-based
    void print(std::string_view text);
    void printLine(std::string_view text = {});
    // Prints a message of any length broken between words to fit the console's width.
    void printWrapped(std::string_view text);

    std::string readLine();       // throws InputClosed
    std::optional<Key> pollKey(); // never waits
    Key waitForKey();             // throws InputClosed
    // Prints `message` on a line of its own and waits for any key, which is discarded.
    void waitForAnyKey(std::string_view message);

    // Waits `seconds` without spinning; keys typed meanwhile stay queued for later reads.
    void pause(double seconds);

    void setIdleHook(std::function<void()> hook) { idle_ = std::move(hook); }
    // The terminal beneath, for a program that hands it to another program for a while.
    Terminal& terminal() { return terminal_; }
    void injectKey(Key key) { injected_.push_back(key); }

private:
    std::optional<Key> takeKey(bool inputComplete);
    void idleAndWait();

    Terminal& terminal_;
    std::function<void()> idle_;
    std::deque<Key> injected_;
};

} // namespace vorn::console
