// "Open and graph" of a 10-minute recording: 8 sensors at 144 Hz, 86 400
// frames of position, angles and time, as the target file holds them.
// Measures the reader's part (loading the file and parsing it into the
// graph's stored points) and how much memory that takes beyond the points.
#include "core/data_file_reader.h"
#include "core/data_file_writer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vornscope;

constexpr int kSensors = 8;
constexpr int kFrames = 10 * 60 * 144;

std::string recordingPath()
{
    return (std::filesystem::temp_directory_path() / "vornscope_open_bench.dat").string();
}

// Written frame by frame, as streaming to a target file writes it.
void writeRecording(const std::string& path)
{
    DataFileWriter file;
    file.open(path);
    auto frame = std::make_unique<SampleFrame>();
    std::vector<int> units;
    for (int unit = 1; unit <= kSensors; ++unit)
        units.push_back(unit);
    for (int i = 0; i < kFrames; ++i) {
        frame->time = i / 144.0;
        for (int unit : units) {
            SensorRecord& sensor = frame->sensors[static_cast<std::size_t>(unit)];
            const double phase = i * 0.002 + unit;
            sensor.position = {20 * std::sin(phase), 15 * std::cos(phase * 1.3), 5 * std::sin(phase * 7)};
            sensor.angles = {std::remainder(i * 0.5 + unit * 40, 360.0), 80 * std::sin(phase), 170 * std::cos(phase)};
            sensor.content = content::kPosition | content::kAngles;
        }
        file.write(targetFrameText(*frame, units, FrameLineOptions {false, true}));
    }
}

// The process's peak resident size since the last resetPeak(), from
// /proc (getrusage's figure cannot be reset).
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A line of /proc/self/status ("VmHWM:", "VmRSS:") in megabytes.
double statusMegabytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(field.size())) / 1024.0;
    return 0;
}

void BM_OpenTenMinuteRecording(benchmark::State& state)
{
    const std::string path = recordingPath();
    writeRecording(path);
    const double fileMegabytes = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    double framesMegabytes = 0;
    double worstPeak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = statusMegabytes("VmRSS:");
        resetPeak();
        state.ResumeTiming();
        std::string text;
        GraphData graph;
        if (!loadFileText(path, text) || readDataFile(text, graph) != ReadOutcome::Complete ||
            graph.count() != static_cast<std::size_t>(kFrames)) {
            state.SkipWithError("the recording did not read back whole");
            break;
        }
        framesMegabytes =
            static_cast<double>(graph.count() * (sizeof(double) + kSensors * sizeof(SensorRecord))) / (1 << 20);
        benchmark::DoNotOptimize(graph.time(graph.count() - 1));
        worstPeak = std::max(worstPeak, statusMegabytes("VmHWM:") - before);
    }
    state.counters["file_MB"] = fileMegabytes;
    state.counters["frames_MB"] = framesMegabytes;
    // The largest the process grew while reading, over the points it keeps.
    state.counters["peak_over_frames"] = framesMegabytes > 0 ? worstPeak / framesMegabytes : 0;
    std::remove(path.c_str());
}

BENCHMARK(BM_OpenTenMinuteRecording)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
