#include "app/VerdictSummary.h"

#include "check/DirItemList.h"
#include "verify/VerifyRun.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

void AddRow(CDirItemList &list, SVerifyReport &report, EVerdict verdict, bool folder = false)
{
    _ITEMINFO item;
    item.dwFileAttributes = folder ? 0x10 : 0x80;
    list.m_items.Add(std::move(item));
    SSongVerdict row;
    row.verdict = verdict;
    report.rows.append(row);
}

} // namespace

TEST(VerdictSummary, CountsSongsByVerdictWithThousandsParted)
{
    CDirItemList list;
    SVerifyReport report;
    AddRow(list, report, EVerdict::Ok, true); // a folder row is no song
    for (int i = 0; i < 1150; ++i)
        AddRow(list, report, EVerdict::Ok);
    for (int i = 0; i < 31; ++i)
        AddRow(list, report, EVerdict::Warning);
    for (int i = 0; i < 23; ++i)
        AddRow(list, report, EVerdict::Broken);
    EXPECT_EQ(VerdictSummaryText(list, report), u"1,204 songs: 1,150 ok, 31 warnings, 23 broken"_s);
}

TEST(VerdictSummary, OneOfEachAndRowsAStopDidNotReach)
{
    CDirItemList list;
    SVerifyReport report;
    AddRow(list, report, EVerdict::Warning);
    AddRow(list, report, EVerdict::Broken);
    list.m_items.Add(_ITEMINFO()); // not reached before the stop
    EXPECT_EQ(VerdictSummaryText(list, report), u"2 songs: 0 ok, 1 warning, 1 broken"_s);
    report.rows.removeLast();
    EXPECT_EQ(VerdictSummaryText(list, report), u"1 song: 0 ok, 1 warning, 0 broken"_s);
}
