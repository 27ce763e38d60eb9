// Feeds arbitrary text to Vornscope's reader of vornctl recordings (CSV or
// JSON lines), as an opened file that starts like one would be. A recording
// it took fills a graph that writes out and reads back as a data file.
#include "core/recording_reader.h"
#include "graph_round_trip.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vornscope;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    GraphData graph;
    const ReadOutcome outcome = readRecordingText(text, graph);
    vorn::fuzz::check(outcome != ReadOutcome::Cancelled);
    vorn::fuzz::check(outcome == ReadOutcome::Complete || graph.empty());
    vorn::fuzz::checkGraphRoundTrip(graph);
    return 0;
}
