#include "widgets/ColumnFit.h"

#include <algorithm>

namespace velmora {

namespace {

bool Shrinks(const std::vector<int> &giveWay, size_t column, int rank)
{
    return column < giveWay.size() && giveWay[column] > 0 && giveWay[column] <= rank;
}

// The room the columns take when none that shrinks is wider than cap.
long long WidthUnderCap(const std::vector<int> &wanted, const std::vector<int> &giveWay, int rank, int cap,
                        int floor)
{
    long long total = 0;
    for (size_t i = 0; i < wanted.size(); ++i)
        total += Shrinks(giveWay, i, rank) ? std::min(wanted[i], std::max(cap, floor)) : wanted[i];
    return total;
}

// The widths with the columns up to `rank` capped at the largest cap at which all fit (or
// at the floor when none does), found by halving the range of caps.
std::vector<int> CapColumns(const std::vector<int> &wanted, const std::vector<int> &giveWay, int rank,
                            int available, int floor)
{
    int low = 0;
    int high = *std::max_element(wanted.begin(), wanted.end());
    while (low < high) {
        const int cap = low + (high - low + 1) / 2;
        if (WidthUnderCap(wanted, giveWay, rank, cap, floor) <= available)
            low = cap;
        else
            high = cap - 1;
    }
    std::vector<int> widths = wanted;
    for (size_t i = 0; i < widths.size(); ++i)
        if (Shrinks(giveWay, i, rank))
            widths[i] = std::min(wanted[i], std::max(low, floor));
    return widths;
}

long long Sum(const std::vector<int> &widths)
{
    long long total = 0;
    for (const int width : widths)
        total += width;
    return total;
}

} // namespace

std::vector<int> FitColumnsIntoWidth(const std::vector<int> &wanted, const std::vector<int> &giveWay,
                                     int available, int floor)
{
    std::vector<int> widths = wanted;
    const int lastRank = giveWay.empty() ? 0 : *std::max_element(giveWay.begin(), giveWay.end());
    for (int rank = 1; rank <= lastRank && Sum(widths) > available; ++rank)
        widths = CapColumns(widths, giveWay, rank, available, floor);
    return widths;
}

} // namespace velmora
