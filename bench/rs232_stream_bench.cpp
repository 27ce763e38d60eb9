// What waiting and streaming cost on RS232, against the simulator in this
// process: CPU of the calling thread (the library and its caller) during a
// wake-up and during a 3-unit stream, and how fast frames keep coming.
#include "simulator.h"

#include <vorn/vorn.h>
#include <vorn/vorn_host.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double threadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double sinceMs(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Usage {
    double wallMs;
    double cpuMs;
    double percent() const { return 100.0 * cpuMs / wallMs; }
};

template <typename Work>
Usage measure(Work work)
{
    const auto start = Clock::now();
    const double cpu = threadCpuMs();
    work();
    return {sinceMs(start), threadCpuMs() - cpu};
}

} // namespace

int main(int argc, char** argv)
{
    const double streamSeconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    vorn::sim::Simulator simulator(vorn::sim::vornsetConfig(3));
    simulator.start();
    simulator.exportEnvironment();
    vornDisplayErrorDialogs(1);

    const uint16_t ports[] = {0, 1, 0, 0};
    bool woken = false;
    const Usage wakeUp = measure([&] { woken = vornRS232WakeUp(1, 0, 3, ports, 115200, 1000, 1000) != 0; });
    if (!woken)
        return 1;
    std::printf("wake-up: %.0f ms, calling thread CPU %.1f ms = %.2f %% of one core\n", wakeUp.wallMs, wakeUp.cpuMs,
                wakeUp.percent());

    VornSystemConfig system {};
    vornGetSystemConfig(1, &system);
    system.measurementRate = 100.0;
    vornSetSystemConfig(1, &system);
    for (int unit = 1; unit <= 3; ++unit) {
        VornDeviceConfig device {};
        vornGetFastDeviceConfig(1, unit, &device);
        device.dataFormat = 4;  // position/angles
        vornSetFastDeviceConfig(1, unit, &device);
    }

    vornStartFrameStream(1);
    VornFrame frame {};
    long frames = 0, failures = 0;
    const Usage stream = measure([&] {
        const auto until = Clock::now() + std::chrono::duration<double>(streamSeconds);
        while (Clock::now() < until) {
            if (vornGetFrame(1, &frame))
                ++frames;
            else
                ++failures;
        }
    });
    vornStopFrameStream(1);
    std::printf("stream of 3 units, position/angles at 100 Hz for %.1f s: %ld frames (%.1f per second), %ld failed, "
                "calling thread CPU %.1f ms = %.2f %% of one core\n",
                stream.wallMs / 1000, frames, frames * 1000.0 / stream.wallMs, failures, stream.cpuMs,
                stream.percent());
    vornShutDown(1);
    simulator.stop();
    return 0;
}
