#pragma once
// Print zones: text that goes "to the next zone" starts at the next column 1 + 14 k.
#include <string>

namespace vorn::console {

constexpr std::size_t kPrintZoneWidth = 14;

// Pads `line` with blanks up to the start of the next print zone.
void padToNextZone(std::string& line);

} // namespace vorn::console
