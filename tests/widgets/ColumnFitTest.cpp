#include "widgets/ColumnFit.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace velmora;

namespace {

int Sum(const std::vector<int> &widths)
{
    return std::accumulate(widths.begin(), widths.end(), 0);
}

// Filename gives way only after General, Video and Audio; Type, Duration and Result never.
const std::vector<int> kGiveWay{2, 0, 1, 1, 1, 0, 0};

} // namespace

TEST(ColumnFit, ColumnsThatFitKeepWhatTheyWant)
{
    const std::vector<int> wanted{120, 60, 200, 120, 120, 60, 120};
    EXPECT_EQ(FitColumnsIntoWidth(wanted, kGiveWay, 1000, 80), wanted);
    EXPECT_TRUE(FitColumnsIntoWidth({}, {}, 100, 80).empty());
}

// A media-details check: one long General text would push Result off the list; it gives
// way first, and only as much as needed.
TEST(ColumnFit, TheWidestColumnOfTheFirstRankGivesWayFirst)
{
    const std::vector<int> wanted{150, 60, 900, 200, 180, 60, 140};
    const std::vector<int> widths = FitColumnsIntoWidth(wanted, kGiveWay, 1000, 80);
    EXPECT_LE(Sum(widths), 1000);
    EXPECT_GE(Sum(widths), 1000 - 4);
    EXPECT_EQ(widths[0], 150);
    EXPECT_EQ(widths[1], 60);
    EXPECT_EQ(widths[5], 60);
    EXPECT_EQ(widths[6], 140);
    EXPECT_LT(widths[2], 900);
    EXPECT_GE(widths[2], widths[3]);
}

TEST(ColumnFit, TheNextRankGivesWayOnlyWhenTheFirstIsAtTheFloor)
{
    const std::vector<int> wanted{400, 60, 400, 300, 300, 60, 140};
    const std::vector<int> widths = FitColumnsIntoWidth(wanted, kGiveWay, 700, 80);
    EXPECT_EQ(widths[2], 80);
    EXPECT_EQ(widths[3], 80);
    EXPECT_EQ(widths[4], 80);
    EXPECT_LE(Sum(widths), 700);
    EXPECT_GE(widths[0], 700 - 4 - (60 + 3 * 80 + 60 + 140));
}

TEST(ColumnFit, ShrinkingStopsAtTheFloorAndNeverTouchesFixedColumns)
{
    const std::vector<int> wanted{300, 60, 400, 50, 300, 60, 140};
    const std::vector<int> widths = FitColumnsIntoWidth(wanted, kGiveWay, 200, 80);
    EXPECT_EQ(widths, (std::vector<int>{80, 60, 80, 50, 80, 60, 140}));
}
