// What waiting and streaming cost on RS232, against the simulator in this
// process: CPU of the calling thread (the library and its caller) during a
// wake-up and during a stream, the latency from the unit writing a frame's
// last byte to vornGetFrame returning it, and whether a stream keeps up.
//
//   rs232_stream_measure [units=3] [seconds=10] [format=4] [rate=100] [baud=115200]
#include "line_tap.h"
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

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Usage {
    double wallMs;
    double cpuMs;
    double percent() const { return 100.0 * cpuMs / wallMs; }
};

template <typename Work> Usage measure(Work work)
{
    const auto start = Clock::now();
    const double cpu = threadCpuMs();
    work();
    return {msBetween(start, Clock::now()), threadCpuMs() - cpu};
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

double argument(int argc, char** argv, int index, double fallback)
{
    return argc > index ? std::atof(argv[index]) : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    const int units = static_cast<int>(argument(argc, argv, 1, 3));
    const double seconds = argument(argc, argv, 2, 10);
    const auto format = static_cast<uint8_t>(argument(argc, argv, 3, 4));
    const double rate = argument(argc, argv, 4, 100);
    const auto baud = static_cast<uint32_t>(argument(argc, argv, 5, 115200));

    auto config = vorn::sim::vornsetConfig(static_cast<unsigned>(units));
    if (units > 15)
        config.units.front().addressingMode = 1; // expanded addressing reaches units 16..30
    vorn::sim::Simulator simulator(config);
    simulator.start();
    LineTap tap(simulator.linePath(1).string(), baud);
    setenv("VORN_COM1", tap.slavePath().c_str(), 1);
    vornDisplayErrorDialogs(1);

    std::vector<uint16_t> ports(static_cast<std::size_t>(units) + 1, 0);
    ports[1] = 1;
    bool woken = false;
    const Usage wakeUp = measure([&] { woken = vornRS232WakeUp(1, 0, units, ports.data(), baud, 1000, 1000) != 0; });
    if (!woken)
        return 1;
    std::printf("wake-up of %d units: %.0f ms, calling thread CPU %.1f ms = %.2f %% of one core\n", units,
                wakeUp.wallMs, wakeUp.cpuMs, wakeUp.percent());

    VornSystemConfig system {};
    vornGetSystemConfig(1, &system);
    system.measurementRate = rate;
    vornSetSystemConfig(1, &system);
    for (int unit = 1; unit <= units; ++unit) {
        VornDeviceConfig device {};
        vornGetFastDeviceConfig(1, unit, &device);
        device.dataFormat = format;
        vornSetFastDeviceConfig(1, unit, &device);
    }

    // Group mode on first, so that the stream start sends nothing that answers.
    vornStartSingleFrame(1);
    VornFrame frame {};
    vornGetFrame(1, &frame);
    vornHostPump(200);
    const uint64_t streamStart = tap.forwarded();
    vornStartFrameStream(1);
    std::vector<Clock::time_point> returned;
    returned.reserve(static_cast<std::size_t>(seconds * rate * 2) + 16);
    long failures = 0;
    int firstFailureCode = 0;
    const Usage stream = measure([&] {
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < until) {
            if (vornGetFrame(1, &frame)) {
                if (failures == 0)
                    returned.push_back(Clock::now());
            } else if (failures++ == 0) {
                firstFailureCode = vornGetErrorCode();
            }
        }
    });
    const uint64_t streamed = tap.forwarded() - streamStart;
    vornStopFrameStream(1);

    // Every unit's record carries its words and the group-mode tag; frame k
    // ends with byte streamStart + (k + 1) * frameBytes - 1 of the tap.
    constexpr int kWords[] = {0, 3, 3, 9, 6, 12, 0, 4, 7};
    const uint64_t frameBytes = static_cast<uint64_t>(units) * (2 * kWords[format < 9 ? format : 0] + 1);
    std::vector<double> latencies;
    for (std::size_t k = 0; k < returned.size(); ++k) {
        const auto written = tap.writtenAt(streamStart + (k + 1) * frameBytes - 1);
        latencies.push_back(msBetween(written, returned[k]));
    }
    // The first frames waited in the queue while the loop was not yet running.
    if (latencies.size() > 10)
        latencies.erase(latencies.begin(), latencies.begin() + 5);
    std::printf("stream of %d units (format %u) at %.1f Hz, %u baud, for %.1f s: %zu frames (%.1f per second), "
                "%ld failed%s; calling thread CPU %.1f ms = %.2f %% of one core\n",
                units, format, rate, baud, stream.wallMs / 1000, returned.size(),
                static_cast<double>(returned.size()) * 1000.0 / stream.wallMs, failures,
                failures ? (" (first code " + std::to_string(firstFailureCode) + ")").c_str() : "", stream.cpuMs,
                stream.percent());
    std::printf("line carried %.0f bytes per second towards the library (the line's limit is %.0f)\n",
                static_cast<double>(streamed) * 1000.0 / stream.wallMs, baud / 10.0);
    std::printf("latency from the last byte written to vornGetFrame returning: median %.3f ms, 99th percentile "
                "%.3f ms, worst %.3f ms (%zu frames)\n",
                percentile(latencies, 0.5), percentile(latencies, 0.99), percentile(latencies, 1.0), latencies.size());
    vornShutDown(1);
    simulator.stop();
    return 0;
}
