// Decoding a group frame in memory: the work vornGetFrame does per frame
// once the bytes are there.
#include "frames/group_frame_decoder.h"
#include "frames/record_layout.h"
#include "protocol/rs232_record.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using vorn::VornGroup;

VornGroup vornsetOf(int units, uint8_t format)
{
    VornGroup group(1);
    group.mode = vorn::ConnectionMode::Rs232;
    group.systemConfig.numberOfUnits = static_cast<uint8_t>(units);
    group.systemConfig.softwareRevision = 0x0343;
    group.groupModeActive = true;
    for (int unit = 1; unit <= units; ++unit) {
        group.deviceConfig[unit].status = 0x04;
        group.deviceConfig[unit].dataFormat = format;
    }
    return group;
}

std::vector<uint8_t> wireFrameOf(const VornGroup& group)
{
    std::vector<uint8_t> bytes;
    for (int unit = 1; unit <= group.systemConfig.numberOfUnits; ++unit) {
        VornReading reading {};
        for (int i = 0; i < 3; ++i)
            reading.position[i] = static_cast<int16_t>(unit * 100 + i * 4);
        uint8_t record[vorn::protocol::kMaxRecordBytes];
        const auto n = vorn::protocol::encodeRs232Record(reading, vorn::recordShapeOf(group, unit), record);
        bytes.insert(bytes.end(), record, record + n);
    }
    return bytes;
}

// Decode into a zeroed scratch frame and copy it out, as vornGetFrame does.
void GroupFrameDecode(benchmark::State& state)
{
    const VornGroup group = vornsetOf(static_cast<int>(state.range(0)), static_cast<uint8_t>(state.range(1)));
    const std::vector<uint8_t> bytes = wireFrameOf(group);
    VornFrame out {};
    for (auto _ : state) {
        VornFrame scratch {};
        const auto result = vorn::decodeGroupFrame(group, bytes, scratch);
        benchmark::DoNotOptimize(result);
        out = scratch;
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
    state.counters["frame_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(GroupFrameDecode)->Args({30, 4})->Args({30, 8})->Args({30, 5})->Args({3, 4});

} // namespace
