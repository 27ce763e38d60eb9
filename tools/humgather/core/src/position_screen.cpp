#include "vorn/humgather/position_screen.h"

namespace vorn::humgather {

namespace {
constexpr int kSpacedVornsets = 3;
constexpr int kFirstOneRowVornsetRow = 15;
constexpr int kStatisticsBlockRows = 7; // later blocks start this far apart, below the header
} // namespace

int plainRow(int vornset)
{
    if (vornset <= kSpacedVornsets)
        return 3 * (vornset - 1) + 3;
    return kFirstOneRowVornsetRow + vornset - kSpacedVornsets - 1;
}

int statisticsRow(int vornset)
{
    const int slot = (vornset - 1) % kVornsetsPerStatisticsPage;
    return slot == 0 ? 3 : kStatisticsHeaderRow + 1 + kStatisticsBlockRows * (slot - 1);
}

bool opensStatisticsPage(int vornset, int count)
{
    return count > kVornsetsPerStatisticsPage && (vornset - 1) % kVornsetsPerStatisticsPage == 0;
}

} // namespace vorn::humgather
