// Feeds arbitrary text to the simulator's replay reader of vornctl record and stream
// JSON-lines files, as a file named with --replay would be.
#include "replay/recording_readers.h"
#include "replay_checks.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    vorn::fuzz::checkRecordedMotion(
        vorn::sim::readJsonRecording(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
