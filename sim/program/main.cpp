// vornsim: serves simulated units on pseudo-terminals until SIGINT or SIGTERM.
#include "serving_summary.h"
#include "settings/options.h"
#include "simulator.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <pthread.h>

int main(int argc, char** argv)
{
    using namespace vorn::sim;
    const ProgramOptions options = parseProgramOptions({argv + 1, argv + argc});
    if (options.help) {
        std::cout << programHelp();
        return 0;
    }
    if (!options.errors.empty()) {
        for (const auto& error : options.errors) {
            std::cerr << "vornsim: " << error << "\n";
        }
        return 2;
    }
    // Block the stop signals in every thread; the main thread takes them with sigwait.
    // A shell starts background jobs with SIGINT ignored, and an ignored signal is
    // discarded even while blocked: take the default disposition back first.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        auto log = options.quiet ? std::function<void(const std::string&)> {}
                                 : [](const std::string& text) { std::fprintf(stderr, "vornsim: %s\n", text.c_str()); };
        if (log && !options.replayNote.empty()) {
            log(options.replayNote);
        }
        Simulator simulator(options.config, log);
        simulator.start();
        std::cout << simulator.envText() << std::flush;
        if (!options.envFile.empty()) {
            simulator.writeEnvFile(options.envFile);
        }
        std::cerr << servingSummary(simulator) << std::flush;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        std::cerr << "vornsim: stopping\n";
        simulator.stop();
        if (!options.envFile.empty()) {
            std::remove(options.envFile.c_str());
        }
    } catch (const std::exception& e) {
        std::cerr << "vornsim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
