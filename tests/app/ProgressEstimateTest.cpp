#include "app/ProgressEstimate.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

TEST(ProgressEstimate, RateAfterASecondTimeLeftOnceSettled)
{
    EXPECT_FALSE(EstimateProgress(40, 1000, 0.9).bHasRate);
    EXPECT_FALSE(EstimateProgress(0, 1000, 5.0).bHasRate);
    const SProgressEstimate early = EstimateProgress(40, 1000, 2.0);
    EXPECT_TRUE(early.bHasRate);
    EXPECT_DOUBLE_EQ(early.dFilesPerSecond, 20.0);
    EXPECT_EQ(early.nSecondsLeft, -1); // before 3 s
    EXPECT_EQ(EstimateProgress(9, 1000, 60.0).nSecondsLeft, -1); // before 10 files
    EXPECT_EQ(EstimateProgress(100, 1000, 4.0).nSecondsLeft, 36);
    EXPECT_EQ(EstimateProgress(1000, 1000, 40.0).nSecondsLeft, -1); // done
    EXPECT_EQ(EstimateProgress(100, -1, 40.0).nSecondsLeft, -1);    // total not known
}

TEST(ProgressEstimate, ClockAndGroupedNumbers)
{
    EXPECT_EQ(ClockText(0), u"0:00"_s);
    EXPECT_EQ(ClockText(65), u"1:05"_s);
    EXPECT_EQ(ClockText(3600 + 125), u"1:02:05"_s);
    EXPECT_EQ(GroupedNumber(0), u"0"_s);
    EXPECT_EQ(GroupedNumber(999), u"999"_s);
    EXPECT_EQ(GroupedNumber(1204), u"1,204"_s);
    EXPECT_EQ(GroupedNumber(1234567), u"1,234,567"_s);
    EXPECT_EQ(GroupedNumber(-1234), u"-1,234"_s);
}
