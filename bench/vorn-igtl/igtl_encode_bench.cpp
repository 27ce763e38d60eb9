// The server's hot path in isolation: one frame of 8 sensors into TRANSFORM
// messages (rotation from the matrix, or from angles), and into 10 client queues.
#include "frame_encoder.h"
#include "igtl_server.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<vornctl::UnitLayout> eightUnits(uint8_t dataFormat)
{
    std::vector<vornctl::UnitLayout> units;
    for (int address = 1; address <= 8; ++address)
        units.push_back({address, dataFormat, 72, false});
    return units;
}

VornFrame sampleFrame()
{
    VornFrame frame {};
    frame.time = 123456;
    for (int address = 1; address <= 8; ++address) {
        auto& r = frame.reading[address];
        r.position[0] = static_cast<int16_t>(1000 * address);
        r.angles[0] = 5000;
        r.angles[1] = -3000;
        r.matrix[0] = r.matrix[4] = r.matrix[8] = 32767;
    }
    return frame;
}

void encodeFrame(benchmark::State& state, uint8_t dataFormat)
{
    vornigtl::FrameEncoder encoder(eightUnits(dataFormat));
    std::vector<uint8_t> bytes(encoder.frameSize());
    const VornFrame frame = sampleFrame();
    for (auto _ : state) {
        encoder.encode(frame, uint64_t {1} << 32, bytes.data());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * 8);
}

void BM_EncodeFrameOf8FromMatrix(benchmark::State& state)
{
    encodeFrame(state, 5);
}
BENCHMARK(BM_EncodeFrameOf8FromMatrix);

void BM_EncodeFrameOf8FromAngles(benchmark::State& state)
{
    encodeFrame(state, 4);
}
BENCHMARK(BM_EncodeFrameOf8FromAngles);

} // namespace

BENCHMARK_MAIN();
