// Streams from one link for a given time while faults come on a random schedule, and tallies
// what the library made of it.
#pragma once

#include "soak_link.h"

#include <cstdint>
#include <map>
#include <string>

namespace vorn::soak {

struct SoakSettings {
    std::chrono::seconds duration {20};
    uint32_t seed = 1;
    // Faults come after a pause of this much, at random up to twice as long.
    Milliseconds meanFaultGap {1500};
    // What a call may take beyond its time-out on a loaded machine.
    Milliseconds margin {1000};
    // The resident memory is measured from then on.
    std::chrono::seconds memoryBaseline {60};
};

struct SoakTally {
    std::string link;
    uint64_t faults = 0;
    std::map<std::string, uint64_t> faultsByKind;
    uint64_t delivered = 0;        // frames delivered as good
    uint64_t refused = 0;          // frame calls that failed
    uint64_t corrupted = 0;        // good frames with a reading the unit never sent
    uint64_t wrongCodes = 0;       // failures with a code outside the link's set
    std::map<int, uint64_t> codes; // failures by code
    uint64_t hangs = 0;            // calls that outlived their time-out and margin
    uint64_t wakeUps = 0;          // wake-ups after a pulled line or a hang-up
    uint64_t failedWakeUps = 0;
    Milliseconds longestCall {0};
    long memoryGrowth = 0; // bytes, resident after the baseline to the end

    bool clean() const;
};

SoakTally runSoak(SoakLink& link, const SoakSettings& settings);

std::string tableHead();
std::string tableRow(const SoakTally& tally, std::chrono::seconds duration);
std::string details(const SoakTally& tally);

} // namespace vorn::soak
