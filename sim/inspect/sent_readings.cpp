#include "inspect/sent_readings.h"

#include <algorithm>
#include <cstring>

namespace vorn::sim {

void SentReadings::record(uint8_t address, const VornReading& reading)
{
    std::lock_guard lock(mutex_);
    auto& kept = kept_[address & 0x7F];
    if (kept.size() == kKeptPerAddress)
        kept.pop_front();
    kept.push_back(reading);
    ++count_;
}

bool SentReadings::contains(uint8_t address, const VornReading& reading) const
{
    std::lock_guard lock(mutex_);
    const auto& kept = kept_[address & 0x7F];
    // The newest are the likeliest: search from the back.
    return std::any_of(kept.rbegin(), kept.rend(),
                       [&](const VornReading& sent) { return std::memcmp(&sent, &reading, sizeof reading) == 0; });
}

std::size_t SentReadings::count() const
{
    std::lock_guard lock(mutex_);
    return count_;
}

SentReadings& sentReadings()
{
    static SentReadings log;
    return log;
}

} // namespace vorn::sim
