#include "vorn/console/console.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "vorn/console/key_decoder.h"
#include "vorn/console/text_wrap.h"

namespace vorn::console {

namespace {
constexpr int kSliceMs = 20;        // between idle-hook runs while a window is alive
constexpr int kEscapeSettleMs = 40; // the rest of an escape sequence arrives within this
} // namespace

void Console::clearScreen()
{
    terminal_.write("\x1b[2J\x1b[H");
}

void Console::moveCursor(int row, int column)
{
    terminal_.write("\x1b[" + std::to_string(row) + ";" + std::to_string(column) + "H");
}

void Console::print(std::string_view text)
{
    terminal_.write(text);
}

void Console::printLine(std::string_view text)
{
    std::string line(text);
    line += '\n';
    terminal_.write(line);
}

void Console::printWrapped(std::string_view text)
{
    printLine(wrapText(text));
}

void Console::idleAndWait()
{
    if (idle_) {
        idle_();
        terminal_.waitForInput(kSliceMs);
    } else {
        terminal_.waitForInput(-1);
    }
}

std::string Console::readLine()
{
    terminal_.useLineMode();
    for (;;) {
        const std::string& pending = terminal_.pending();
        const auto end = pending.find('\n');
        if (end != std::string::npos) {
            std::string line = terminal_.take(end + 1);
            line.pop_back();
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        if (terminal_.inputEnded()) {
            if (pending.empty())
                throw InputClosed();
            return terminal_.take(pending.size());
        }
        idleAndWait();
    }
}

std::optional<Key> Console::takeKey(bool inputComplete)
{
    if (!injected_.empty()) {
        const Key key = injected_.front();
        injected_.pop_front();
        return key;
    }
    const auto decoded = decodeKey(terminal_.pending(), inputComplete);
    if (!decoded)
        return std::nullopt;
    terminal_.take(decoded->length);
    return decoded->key;
}

std::optional<Key> Console::pollKey()
{
    terminal_.useKeyMode();
    if (auto key = takeKey(false))
        return key;
    terminal_.waitForInput(0);
    if (auto key = takeKey(false))
        return key;
    // A lone ESC or a cut sequence: give the rest a moment before taking it as it is.
    if (!terminal_.pending().empty()) {
        terminal_.waitForInput(kEscapeSettleMs);
        return takeKey(true);
    }
    return std::nullopt;
}

Key Console::waitForKey()
{
    terminal_.useKeyMode();
    for (;;) {
        if (auto key = pollKey())
            return *key;
        if (terminal_.inputEnded() && injected_.empty())
            throw InputClosed();
        idleAndWait();
    }
}

void Console::pause(double seconds)
{
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (;;) {
        const auto now = Clock::now();
        if (now >= end)
            return;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now).count();
        if (idle_)
            idle_();
        const int slice = static_cast<int>(std::min<long long>(left, idle_ ? kSliceMs : left));
        // Input that arrives is kept; once input has ended there is nothing to watch but the clock.
        if (!terminal_.waitForInput(slice))
            std::this_thread::sleep_for(std::chrono::milliseconds(slice));
    }
}

void Console::waitForAnyKey(std::string_view message)
{
    terminal_.useKeyMode();
    printLine(message);
    waitForKey();
}

} // namespace vorn::console
