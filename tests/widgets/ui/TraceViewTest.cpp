#include "widgets/ui/TraceView.h"
#include "widgets/ui/PaintCount.h"

#include <QCoreApplication>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
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

namespace {

using test::CPaintCount;

} // namespace

TEST(TraceView, LinesComeInOneBlockWhenTheWindowRunsWithTheLastSelectedAndInView)
{
    CTraceView trace(nullptr);
    trace.resize(500, 150);
    trace.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&trace));
    auto *list = trace.findChild<QListView *>();
    ASSERT_NE(list, nullptr);
    QSignalSpy inserted(list->model(), &QAbstractItemModel::rowsInserted);
    CPaintCount paints(list->viewport());

    for (int i = 0; i < 2000; ++i)
        trace.AddLine(i % 4, u"line %1"_s.arg(i));
    EXPECT_EQ(trace.LineCount(), 2000); // kept at once
    EXPECT_EQ(list->model()->rowCount(), 0); // shown when the window runs
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();

    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 1999);
    EXPECT_LE(paints.m_paints, 2);
    EXPECT_EQ(list->currentIndex().row(), 1999);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualRect(list->currentIndex())));
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(list->model()->index(i, 0).data().toString(), u"line %1"_s.arg(i));
        ASSERT_EQ(trace.LineColour(i), CTraceView::ColourOfKind(i % 4));
    }
}

TEST(TraceView, ClearDropsLinesNotShownYet)
{
    CTraceView trace(nullptr);
    trace.AddLine(2, u"shown"_s);
    trace.ShowPendingLines();
    trace.AddLine(2, u"pending"_s);
    trace.Clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(trace.LineCount(), 0);
    EXPECT_EQ(trace.findChild<QListView *>()->model()->rowCount(), 0);
    trace.AddLine(3, u"after"_s);
    EXPECT_EQ(trace.SelectedLine(), 0);
    EXPECT_EQ(trace.LineText(0), u"after"_s);
}
