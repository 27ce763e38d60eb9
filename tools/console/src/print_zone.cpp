#include "vorn/console/print_zone.h"

namespace vorn::console {

void padToNextZone(std::string& line)
{
    const std::size_t next = (line.size() / kPrintZoneWidth + 1) * kPrintZoneWidth;
    line.append(next - line.size(), ' ');
}

} // namespace vorn::console
