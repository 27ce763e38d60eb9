// What a big TCP/IP stream costs: 120 units of position/quaternion with
// buttons at 144 Hz from the simulated controller in this process. Reports
// the CPU the calling thread (library and caller) uses and the delivery
// latency: from the controller handing a data packet to its socket to
// vornGetFrame returning the decoded frame.
#include "controller/controller_server.h"

#include <vorn/vorn.h>

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

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    vorn::sim::ControllerConfig config = vorn::sim::controllerConfig(120);
    config.measurementRate = 144.0;
    for (auto& unit : config.units) {
        unit.dataFormat = 8;
        unit.button = true;
    }
    vorn::sim::ControllerServer controller(config);
    controller.start();
    vornDisplayErrorDialogs(1);
    if (!vornTCPIPWakeUp(1, "127.0.0.1", controller.port(), 120) || !vornStartFrameStream(1))
        return 1;

    VornFrame frame {};
    long frames = 0, failures = 0;
    std::vector<double> latencyMs;
    const auto start = Clock::now();
    const double cpuStart = threadCpuMs();
    while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
        if (!vornGetFrame(1, &frame)) {
            ++failures;
            continue;
        }
        const auto received = Clock::now();
        ++frames;
        if (const auto sent = controller.dataPacketSentAt(frame.time))
            latencyMs.push_back(std::chrono::duration<double, std::milli>(received - *sent).count());
    }
    const double cpuMs = threadCpuMs() - cpuStart;
    const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    vornStopFrameStream(1);
    vornShutDown(1);
    controller.stop();
    std::printf("TCP/IP stream, 120 units of position/quaternion with buttons at 144 Hz for %.1f s:\n"
                "  %ld frames (%.1f per second), %ld failed\n"
                "  calling thread CPU %.1f ms = %.2f %% of one core\n"
                "  delivery latency median %.3f ms, 99th percentile %.3f ms (%zu frames matched)\n",
                wallMs / 1000, frames, frames * 1000.0 / wallMs, failures, cpuMs, 100.0 * cpuMs / wallMs,
                percentile(latencyMs, 0.5), percentile(latencyMs, 0.99), latencyMs.size());
    return 0;
}
