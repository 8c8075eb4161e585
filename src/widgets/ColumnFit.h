#pragma once

#include <vector>

namespace velmora {

// Widths for columns that want `wanted` pixels in a list `available` pixels wide. When they
// do not all fit, columns give way by their rank in `giveWay`: first those of rank 1, widest
// first, down to `floor` each (or their wanted width when that is less); if that is not
// enough, those of rank 2 as well, and so on. Rank 0 (or no rank) never gives way, so that
// the columns after the wide ones, the last one above all, stay in view.
std::vector<int> FitColumnsIntoWidth(const std::vector<int> &wanted, const std::vector<int> &giveWay,
                                     int available, int floor);

} // namespace velmora
