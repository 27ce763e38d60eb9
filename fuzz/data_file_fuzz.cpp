// Feeds arbitrary text to Vornscope's data-file reader, as a dropped or
// opened file would. Whatever it reads must fit the graph it fills, and a
// graph it read must write out and read back to the same points.
#include "core/data_file_reader.h"
#include "core/data_file_writer.h"

#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vornscope;
    GraphData graph;
    readDataFile(std::string_view(reinterpret_cast<const char*>(data), size), graph);
    check(graph.sensorCount() >= 0 && graph.sensorCount() < VORN_UNIT_COUNT);
    if (graph.empty() || graph.sensorCount() == 0)
        return 0;
    // Written values are rounded to 4 places; a second round trip must be exact.
    GraphData once;
    readDataFile(graphFileText(graph), once);
    const std::string text = graphFileText(once);
    GraphData twice;
    check(readDataFile(text, twice) == ReadOutcome::Complete);
    check(twice.count() == once.count());
    check(graphFileText(twice) == text);
    return 0;
}
