#include "inspect/received_log.h"

namespace vorn::sim {

void ReceivedLog::append(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point time)
{
    if (bytes.empty()) {
        return;
    }
    WaitableLog::append({time, {bytes.begin(), bytes.end()}}, bytes.size());
}

std::vector<uint8_t> ReceivedLog::bytes() const
{
    return read([](const std::vector<ReceivedChunk>& chunks, std::size_t total) {
        std::vector<uint8_t> all;
        all.reserve(total);
        for (const auto& chunk : chunks) {
            all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
        }
        return all;
    });
}

} // namespace vorn::sim
