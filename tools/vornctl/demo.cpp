// vornctl demo: a simulated vornset on pseudo-terminals, streamed from
// like real units, so that a fresh checkout shows live frames.
#include "commands.h"
#include "exit_codes.h"

#include <cstdio>

#if defined(VORNCTL_WITH_SIMULATOR)
#include "simulator.h"

#include <exception>
#endif

namespace vornctl {

#if defined(VORNCTL_WITH_SIMULATOR)

int runDemo(const Options& options)
{
    constexpr unsigned kUnits = 3;
    vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(kUnits));
    try {
        simulator.start();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vornctl: cannot start the simulator: %s\n", error.what());
        return kExitFailure;
    }
    simulator.exportEnvironment();
    std::fprintf(stderr,
                 "vornctl demo: a simulated vornset of %u units; the master is on COM1, units 2 and 3 are\n"
                 "reached through it on the bus. Each sensor moves on a circle of its own.\n",
                 kUnits);
    for (const auto& assignment : simulator.envAssignments())
        std::fprintf(stderr, "  %s=%s\n", assignment.name.c_str(), assignment.path.c_str());

    Options demo = options;
    demo.standAlone = false;
    demo.ports = {1, 0, 0};
    demo.units = kUnits;
    if (!demo.count && !demo.durationS)
        demo.durationS = 10.0;
    if (!demo.settings.dataFormat)
        demo.settings.dataFormat = 4; // position and angles
    std::fprintf(stderr, "Streaming position (inches) and angles (degrees) for %s; Ctrl-C stops.\n",
                 demo.count ? (std::to_string(*demo.count) + " frames").c_str()
                            : (std::to_string(static_cast<int>(*demo.durationS)) + " s").c_str());
    const int status = runStream(demo);
    simulator.stop();
    return status;
}

#else

int runDemo(const Options&)
{
    std::fprintf(stderr, "vornctl: this build has no simulator, so there is no demo.\n");
    return kExitFailure;
}

#endif

} // namespace vornctl
