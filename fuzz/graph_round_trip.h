// What a graph Vornscope read promises, whatever the file: a sensor count its
// records hold, and points that write out and read back as the same points.
#pragma once

#include "core/data_file_reader.h"
#include "core/data_file_writer.h"
#include "fuzz_check.h"

namespace vorn::fuzz {

inline void checkGraphRoundTrip(const vornscope::GraphData& graph)
{
    using namespace vornscope;
    check(graph.sensorCount() >= 0 && graph.sensorCount() < VORN_UNIT_COUNT);
    if (graph.empty() || graph.sensorCount() == 0)
        return;
    // Written values are rounded to 4 places; a second round trip must be exact.
    GraphData once;
    readDataFile(graphFileText(graph), once);
    const std::string text = graphFileText(once);
    GraphData twice;
    check(readDataFile(text, twice) == ReadOutcome::Complete);
    check(twice.count() == once.count());
    check(graphFileText(twice) == text);
}

} // namespace vorn::fuzz
