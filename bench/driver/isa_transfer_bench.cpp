// What ISA word transfers cost through the port-I/O socket, against the
// simulated boards in this process: one port access, one command word out
// and its answer word back, and a whole single frame of a stand-alone board.
#include "isa/port_io_server.h"
#include "platform/port_io.h"

#include <vorn/vorn.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr uint16_t kBase = 0x300;
constexpr int kGroup = 1;

// One woken stand-alone board for every benchmark of the run (a wake-up takes 4.6 s).
struct Board {
    Board() : server(vorn::sim::isaStandAloneConfig(kBase))
    {
        server.start();
        server.exportEnvironment();
        const uint16_t bases[] = {kBase};
        woken = vornISAWakeUp(kGroup, 1, 1, bases, 1000, 1000) != 0;
        VornDeviceConfig device {};
        woken = woken && vornGetDeviceConfig(kGroup, 0, &device) != 0;
        device.dataFormat = 8; // position/quaternion: 7 words a frame
        woken = woken && vornSetFastDeviceConfig(kGroup, 0, &device) != 0;
    }
    vorn::sim::PortIoServer server;
    bool woken = false;
};

Board& board()
{
    static Board instance;
    return instance;
}

void BM_PortAccess(benchmark::State& state)
{
    board();
    int error = 0;
    auto ports = vorn::platform::acquirePortIo(error);
    uint16_t word = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ports->read(kBase + 2, word, vorn::platform::PortIo::kAccessLimitMs));
    state.SetLabel("one 12-byte request and its answer");
}
BENCHMARK(BM_PortAccess);

void BM_ExamineWord(benchmark::State& state)
{
    if (!board().woken) {
        state.SkipWithError("wake-up failed");
        return;
    }
    const unsigned char examine[] = {0x4F, 0x01};
    unsigned char answer[2];
    for (auto _ : state) {
        vornISASendCommand(kGroup, 0, examine, 2);
        vornISAGetResponse(kGroup, 0, answer, 2);
    }
    state.SetLabel("clear, one command word, one answer word");
}
BENCHMARK(BM_ExamineWord);

void BM_SingleFrame(benchmark::State& state)
{
    if (!board().woken) {
        state.SkipWithError("wake-up failed");
        return;
    }
    VornFrame frame {};
    for (auto _ : state) {
        vornStartSingleFrame(kGroup);
        vornGetFrame(kGroup, &frame);
    }
    state.SetLabel("point command and a 7-word record");
}
BENCHMARK(BM_SingleFrame);

} // namespace
