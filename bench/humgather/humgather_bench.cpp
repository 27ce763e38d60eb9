// Humgather's noise collection: how close to the line's own time the 32768 samples arrive, what
// reading costs without pacing, and converting and writing the noise file.
#include <benchmark/benchmark.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "vorn/humgather/noise_file.h"
#include "vorn/humgather/serial_link.h"

namespace {

using namespace vorn::humgather;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kBytes = 2 * (kMaxNoiseSamples + kDiscardedSamples); // 65576
constexpr double kLineBytesPerSecond = 11520.0;                            // 115200 baud, 10 bits a byte
constexpr unsigned kPort = 60;

// The unit's end of a line: sends the stream at `bytesPerSecond` (0: as fast as it can).
class PacedUnit {
public:
    PacedUnit()
    {
        char name[256];
        openpty(&master_, &slave_, name, nullptr, nullptr);
        termios raw {};
        tcgetattr(master_, &raw);
        cfmakeraw(&raw);
        tcsetattr(master_, TCSANOW, &raw);
        setenv(("VORN_COM" + std::to_string(kPort)).c_str(), name, 1);
    }
    ~PacedUnit()
    {
        if (sender_.joinable())
            sender_.join();
        ::close(master_);
        ::close(slave_);
    }
    void start(double bytesPerSecond)
    {
        sender_ = std::thread([this, bytesPerSecond] {
            std::vector<std::uint8_t> stream(kBytes, 0x1F);
            const auto begin = Clock::now();
            std::size_t sent = 0;
            while (sent < kBytes) {
                std::size_t due = kBytes;
                if (bytesPerSecond > 0) {
                    const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
                    due = std::min(kBytes, static_cast<std::size_t>(elapsed * bytesPerSecond));
                }
                if (due > sent) {
                    const ssize_t n = ::write(master_, stream.data() + sent, due - sent);
                    if (n > 0)
                        sent += static_cast<std::size_t>(n);
                }
                std::this_thread::sleep_for(std::chrono::microseconds(bytesPerSecond > 0 ? 500 : 50));
            }
        });
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::thread sender_;
};

void collect(benchmark::State& state, double bytesPerSecond)
{
    static std::array<std::int16_t, kMaxNoiseSamples> samples;
    for (auto _ : state) {
        PacedUnit unit;
        SerialLink link;
        if (!link.open(kPort, 115200)) {
            state.SkipWithError(link.errorText().c_str());
            return;
        }
        const auto begin = Clock::now();
        unit.start(bytesPerSecond);
        std::array<std::int16_t, kDiscardedSamples> discarded {};
        receiveSamples(link, discarded);
        receiveSamples(link, samples);
        const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        state.SetIterationTime(seconds);
        if (bytesPerSecond > 0) {
            const double lineSeconds = kBytes / bytesPerSecond;
            state.counters["line_s"] = lineSeconds;
            state.counters["over_%"] = (seconds / lineSeconds - 1) * 100;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}

void BM_CollectionAtLineSpeed(benchmark::State& state)
{
    collect(state, kLineBytesPerSecond);
}
BENCHMARK(BM_CollectionAtLineSpeed)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CollectionUnpaced(benchmark::State& state)
{
    collect(state, 0);
}
BENCHMARK(BM_CollectionUnpaced)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_NoiseFileFromSamples(benchmark::State& state)
{
    static std::array<float, kMaxNoiseSamples> volts;
    const auto file =
        std::filesystem::temp_directory_path() / ("humgather-bench-" + std::to_string(::getpid()) + ".dat");
    for (auto _ : state) {
        for (std::size_t i = 0; i < volts.size(); ++i)
            volts[i] = sampleVolts(static_cast<std::int16_t>(8000 + (i * 7919) % 600), 5.0f);
        std::string error;
        writeNoiseFile(file, volts, error);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_NoiseFileFromSamples)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
