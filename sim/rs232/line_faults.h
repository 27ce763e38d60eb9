// Faults a test can inject into what a line sends, the unpleasant things real lines do.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorn::sim {

struct LineFaults {
    std::size_t corruptPhasingRecords = 0;               // clear bit 7 of the first byte of the next N records
    std::size_t dropBytes = 0;                           // the next N bytes never leave
    std::size_t duplicateBytes = 0;                      // the next N bytes leave twice
    std::vector<uint8_t> garbage;                        // sent before anything else that is due
    std::chrono::steady_clock::time_point stallUntil {}; // nothing leaves before then
    std::optional<std::chrono::milliseconds> closeFor;   // hang up now, come back after this
};

} // namespace vorn::sim
