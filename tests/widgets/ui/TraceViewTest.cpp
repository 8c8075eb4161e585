#include "widgets/ui/TraceView.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

TEST(TraceView, LinesTakeTheColourOfTheirKindAndTheLastIsSelected)
{
    CTraceView trace(nullptr);
    trace.AddLine(0, u"plain"_s);
    trace.AddLine(1, u"good"_s);
    trace.AddLine(2, u"progress"_s);
    trace.AddLine(3, u"problem"_s);
    trace.AddLine(7, u"unknown kind"_s);
    ASSERT_EQ(trace.LineCount(), 5);
    EXPECT_EQ(trace.LineColour(0), 0x000000u);
    EXPECT_EQ(trace.LineColour(1), 0x008200u);
    EXPECT_EQ(trace.LineColour(2), 0xFF0000u);
    EXPECT_EQ(trace.LineColour(3), 0x0000FFu);
    EXPECT_EQ(trace.LineColour(4), 0x000000u);
    EXPECT_EQ(trace.SelectedLine(), 4);
    trace.AddTraceLine(u"through the sink"_s, 3);
    EXPECT_EQ(trace.SelectedLine(), 5);
    EXPECT_EQ(trace.LineColour(5), 0x0000FFu);
}

TEST(TraceView, LongLinesAreCutAndClearEmptiesThePane)
{
    CTraceView trace(nullptr);
    trace.AddLine(0, QString(5000, u'x'));
    EXPECT_EQ(trace.LineText(0).size(), 1023);
    trace.Clear();
    EXPECT_EQ(trace.LineCount(), 0);
    EXPECT_EQ(trace.SelectedLine(), -1);
}
