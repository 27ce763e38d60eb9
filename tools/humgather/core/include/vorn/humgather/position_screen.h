#pragma once
// Where the position/angle screens put each vornset, so that every count the vornset
// configuration accepts fits 80 x 25. The plain display keeps vornsets 1-3 three rows apart
// (the distance and relative pose of sensor 2 sit at rows 11-13) and gives each further vornset
// one row below them; the statistics show five lines per vornset, three vornsets to a page.
namespace vorn::humgather {

inline constexpr int kMostVornsetsToRead = 10; // rows 15-21 take vornsets 4-10
inline constexpr int kVornsetsPerStatisticsPage = 3;
inline constexpr int kStatisticsHeaderRow = 9;
inline constexpr int kPageLabelRow = 25;

// Row of vornset i's values in the plain display (i from 1).
int plainRow(int vornset);
// First of the five statistics rows of vornset i (i from 1).
int statisticsRow(int vornset);
// Whether vornset i opens a new statistics page of a display of `count` vornsets (never when
// they all fit one page).
bool opensStatisticsPage(int vornset, int count);

} // namespace vorn::humgather
