// Humsift's analysis: the FAST path from the noise file to the ranked list, and the scan of zero
// pairs, on 32768 samples of a generated room.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <unistd.h>

#include "vorn/console/basic_number.h"
#include "vorn/humsift/noise_file.h"
#include "vorn/humsift/noise_spectrum.h"
#include "vorn/humsift/ranking.h"
#include "vorn/humsift/rate_scan.h"

namespace {

using namespace vorn::humsift;

constexpr std::size_t kSamples = 32768;
constexpr double kSampleFrequency = 3402.0;

std::vector<double> roomSamples()
{
    std::mt19937 random(5);
    std::normal_distribution<double> white(0.0, 0.004);
    std::vector<double> x(kSamples);
    const double w = 2 * std::numbers::pi / kSampleFrequency;
    for (std::size_t j = 0; j < kSamples; ++j) {
        const double t = double(j);
        const double volts = 1.2 + 0.06 * std::sin(w * 60 * t) + 0.025 * std::sin(w * 180 * t) +
                             0.015 * std::sin(w * 75 * t) + white(random);
        x[j] = std::round(volts * 32768 / 5) * 5 / 32768;
    }
    return x;
}

// The noise file of the benchmarks, written once and removed at exit.
class NoiseFileOnDisk {
public:
    NoiseFileOnDisk()
        : path_(std::filesystem::temp_directory_path() / ("humsift-bench-" + std::to_string(getpid()) + ".dat"))
    {
        std::string text;
        for (double v : roomSamples())
            text += vorn::console::basicNumber(v) + "\r\n";
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~NoiseFileOnDisk()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

std::string noiseFilePath()
{
    static const NoiseFileOnDisk file;
    return file.path();
}

void FastAnalysis(benchmark::State& state)
{
    const std::string path = noiseFilePath();
    const NotchSetting mains60 {NotchOption::Mains60, {60.0, 70.0}, false};
    for (auto _ : state) {
        NoiseFile file = readNoiseFile(path, kSamples);
        file.values.resize(largestPowerOfTwoAtMost(file.values.size()));
        const Spectrum spectrum = computeSpectrum(file.values, kSampleFrequency, Window::Hann);
        const RangeChoice range = scanRange(spectrum, 80.0, 140.0);
        auto ranked = rankRates(scanRates(spectrum, *range.range, ScanKind::CurrentNotch, mains60), 10);
        benchmark::DoNotOptimize(ranked.data());
    }
}
BENCHMARK(FastAnalysis)->Unit(benchmark::kMillisecond);

void ReadNoiseFile(benchmark::State& state)
{
    const std::string path = noiseFilePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(readNoiseFile(path, kSamples).values.data());
}
BENCHMARK(ReadNoiseFile)->Unit(benchmark::kMillisecond);

void Spectrum32768(benchmark::State& state)
{
    const std::vector<double> samples = roomSamples();
    for (auto _ : state) {
        std::vector<double> work = samples;
        benchmark::DoNotOptimize(computeSpectrum(work, kSampleFrequency, Window::Hann).unfiltered.data());
    }
}
BENCHMARK(Spectrum32768)->Unit(benchmark::kMillisecond);

void Scan(benchmark::State& state, ScanKind kind)
{
    std::vector<double> samples = roomSamples();
    const Spectrum spectrum = computeSpectrum(samples, kSampleFrequency, Window::Hann);
    const RangeChoice range = scanRange(spectrum, 80.0, 140.0);
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(scanRates(spectrum, *range.range, kind, {}, threads).data());
    state.counters["rates"] = double(range.range->count());
}
BENCHMARK_CAPTURE(Scan, CurrentNotch, ScanKind::CurrentNotch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Scan, ZeroPairs, ScanKind::BothZeros)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
