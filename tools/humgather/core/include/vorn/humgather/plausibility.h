#pragma once
// The checks that tell the user a noise record may be bad: a mean too small (the sensor sees no
// field), a variation too large (samples lost) or too small (no noise at all). Each failing
// check gives its message block; the record is reported, never rejected.
#include <string>
#include <vector>

#include "vorn/humgather/noise_statistics.h"

namespace vorn::humgather {

struct PlausibilityReport {
    bool badData = false;
    std::vector<std::string> lines; // the messages of every failing check, in order
};

PlausibilityReport checkPlausibility(const Statistics& statistics);

// "   Mean    StdDev    PktoPk  of sensor data" and the line of figures below it.
std::vector<std::string> noiseSummaryLines(const Statistics& statistics);

} // namespace vorn::humgather
