#include "vorn/humgather/interrupt_stop.h"

#include <unistd.h>

#include <array>
#include <csignal>

#include "protocol/commands.h"
#include "protocol/factory_commands.h"

namespace vorn::humgather {

namespace {

constexpr std::array<int, 4> kSignals {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile sig_atomic_t g_line = -1;
std::array<struct sigaction, kSignals.size()> g_previous {};

std::size_t indexOf(int signalNumber)
{
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (kSignals[i] == signalNumber)
            return i;
    return 0;
}

extern "C" void stopThenPassOn(int signalNumber)
{
    if (g_line >= 0) {
        const std::uint8_t stop[] = {protocol::kStopStream, protocol::toByte(protocol::Command::HardRestart)};
        [[maybe_unused]] const ssize_t ignored = ::write(g_line, stop, sizeof stop);
    }
    const struct sigaction& previous = g_previous[indexOf(signalNumber)];
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signalNumber); // the terminal's restore re-raises with the default action
        return;
    }
    if (previous.sa_handler == SIG_IGN)
        return;
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

StopOnInterrupt::StopOnInterrupt(int lineDescriptor)
{
    g_line = lineDescriptor;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction action {};
        action.sa_handler = stopThenPassOn;
        sigemptyset(&action.sa_mask);
        sigaction(kSignals[i], &action, &g_previous[i]);
    }
}

StopOnInterrupt::~StopOnInterrupt()
{
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
    g_line = -1;
}

} // namespace vorn::humgather
