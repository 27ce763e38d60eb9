// The graph window's redraw with 100 000 stored points: all of them on
// screen (min/max decimation draws one segment per pixel column) and a
// 75-point window at the end, as while streaming.
#include "displays/graph_window.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using namespace vornscope;

void fill(CGraphWindow& graph, int points)
{
    auto frame = std::make_unique<SampleFrame>();
    for (int i = 0; i < points; ++i) {
        SensorRecord& sensor = frame->sensors[1];
        sensor.position = {3 * std::sin(i * 0.001), 2 * std::cos(i * 0.0013), std::sin(i * 0.05)};
        sensor.content = content::kPosition;
        frame->time = i / 144.0;
        graph.appendPoint(*frame);
    }
}

void redraw(benchmark::State& state, bool wholeHistory)
{
    CGraphWindow graph;
    graph.resize(1200, 700);
    fill(graph, 100000);
    if (wholeHistory)
        graph.applyScaling(8, 0, 100000);
    QImage image(graph.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        graph.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["redraws_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_GraphRedraw100kAllVisible(benchmark::State& state)
{
    redraw(state, true);
}
void BM_GraphRedraw100kStreamingWindow(benchmark::State& state)
{
    redraw(state, false);
}

BENCHMARK(BM_GraphRedraw100kAllVisible)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GraphRedraw100kStreamingWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
