// Feeds arbitrary text to the simulator's configuration-file reader, as a file named with
// --config would be. Every error names its line; the units it makes carry addresses of their
// sections. (Whether a set of units fits together is the simulator's own check when it starts.)
#include "fuzz_check.h"
#include "settings/settings_parser.h"

#include <string_view>

using vorn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vorn::sim;
    SimulatorConfig config = vornsetConfig();
    const auto errors = applyConfigText(config, std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& error : errors)
        check(error.rfind("line ", 0) == 0);
    for (const auto& unit : config.units)
        check(unit.address <= 126);
    return 0;
}
