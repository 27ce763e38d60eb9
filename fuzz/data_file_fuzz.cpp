// Feeds arbitrary text to Vornscope's data-file reader, as a dropped or
// opened file would. Whatever it reads must fit the graph it fills, and a
// graph it read must write out and read back to the same points.
#include "graph_round_trip.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    vornscope::GraphData graph;
    vornscope::readDataFile(std::string_view(reinterpret_cast<const char*>(data), size), graph);
    vorn::fuzz::checkGraphRoundTrip(graph);
    return 0;
}
