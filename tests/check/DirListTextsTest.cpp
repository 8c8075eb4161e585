#include "TestSupport.h"

#include "check/DirItemList.h"
#include "check/ItemRows.h"
#include "check/DirListTexts.h"
#include "check/ListSelectDirectory.h"
#include "check/DirListObserver.h"

#include <gtest/gtest.h>

using namespace velmora;
using test::FolderRow;
using test::Row;
using namespace velmora::dirlist;
using namespace Qt::Literals::StringLiterals;

namespace {


} // namespace

TEST(DirListTexts, CellsOfASongRow)
{
    _ITEMINFO item = Row(u"song.cdg;song.mp3"_s);
    item.nDuration = 605;
    item.szTitle = u"Title"_s;
    EXPECT_EQ(CellText(item, 0), u"song.cdg"_s);
    EXPECT_EQ(CellText(item, 2), u"Title"_s);
    EXPECT_EQ(CellText(item, 5), u"10:05"_s);
    EXPECT_EQ(ToolTip(item), u"song.cdg;song.mp3"_s);
    item.nDuration = 0;
    EXPECT_TRUE(CellText(item, 5).isEmpty());
    EXPECT_TRUE(CellText(item, 7).isEmpty());
    item.szFileName = QString(300, u'x');
    EXPECT_EQ(CellText(item, 0).size(), 259);
    EXPECT_EQ(ToolTip(item).size(), 79);
}

TEST(DirListTexts, ColoursByMarkClassAndGreyWithoutColouredFlag)
{
    EXPECT_EQ(TextColour(Row(u"a"_s)), kBlack);
    EXPECT_EQ(TextColour(Row(u"a"_s, ITEM_COLOURED | 0x20000)), kBlue);
    EXPECT_EQ(TextColour(Row(u"a"_s, ITEM_COLOURED | ITEM_MARK_COMPANION)), kAzure);
    EXPECT_EQ(TextColour(Row(u"a"_s, ITEM_COLOURED | ITEM_MARK_PROBLEM)), kRed);
    EXPECT_EQ(TextColour(Row(u"a"_s, ITEM_MARK_PROBLEM)), kGrey);
    EXPECT_EQ(TextColour(Row(u"a"_s, 0)), kGrey);
}

TEST(DirListTexts, OnlyMarkedRowsHaveCheckBoxes)
{
    EXPECT_EQ(CheckBox(Row(u"a"_s)), ECheckBox::None);
    EXPECT_EQ(CheckBox(Row(u"a"_s, ITEM_MARK_PROBLEM)), ECheckBox::Empty);
    EXPECT_EQ(CheckBox(Row(u"a"_s, ITEM_MARK_COMPANION | ITEM_CHECKED)), ECheckBox::Ticked);
}

TEST(DirListTexts, ToggleAndTickAllTouchOnlyMarkedRows)
{
    CDirItemList list;
    list.m_items.Add(Row(u"plain.mp3"_s));
    list.m_items.Add(Row(u"bad.mp3"_s, ITEM_COLOURED | ITEM_MARK_PROBLEM));
    list.m_items.Add(Row(u"bad.cdg"_s, ITEM_COLOURED | ITEM_MARK_COMPANION));
    EXPECT_FALSE(ToggleCheck(list, 0));
    EXPECT_FALSE(list.Item(0).IsChecked());
    EXPECT_TRUE(ToggleCheck(list, 1));
    EXPECT_TRUE(list.Item(1).IsChecked());
    EXPECT_FALSE(ToggleCheck(list, 3));
    SetAllChecks(list, true);
    EXPECT_FALSE(list.Item(0).IsChecked());
    EXPECT_TRUE(list.Item(1).IsChecked());
    EXPECT_TRUE(list.Item(2).IsChecked());
    SetAllChecks(list, false);
    EXPECT_FALSE(list.Item(1).IsChecked());
    EXPECT_FALSE(list.Item(2).IsChecked());
}

TEST(DirListTexts, DoubleClickOpensFoldersAndTheParentOfDotDot)
{
    EXPECT_TRUE(FolderToOpen(Row(u"song.mp3"_s)).isEmpty());
    EXPECT_EQ(FolderToOpen(FolderRow(u"Rock"_s, u"/k/Rock"_s)), u"/k/Rock"_s);
    EXPECT_EQ(FolderToOpen(FolderRow(u".."_s, u"/Songs/Pop/.."_s)), u"/Songs"_s);
    EXPECT_EQ(FolderToOpen(FolderRow(u".."_s, u"/Songs/Pop/../"_s)), u"/Songs"_s);
    EXPECT_EQ(FolderToOpen(FolderRow(u".."_s, u"/Songs/.."_s)), u"/"_s);
}

TEST(DirListTexts, RowFilesNameEveryFileOfTheSong)
{
    EXPECT_EQ(RowFiles(Row(u"song.cdg;song.mp3"_s)), (QStringList{u"/k/Pop/song.cdg"_s, u"/k/Pop/song.mp3"_s}));
    EXPECT_EQ(RowFiles(Row(u"one.kar"_s)), (QStringList{u"/k/Pop/one.kar"_s}));
}

namespace {
// Asks the running check to stop once it has reached a given file.
class CStopAt final : public IDirListObserver
{
public:
    CStopAt(CDirItemList &list, int at) : m_list(list), m_at(at) {}
    void OnListCleared() override {}
    void OnRowAdded(int, int) override {}
    void OnItemCountSet(int) override {}
    void OnRowsRedrawn(int, int) override {}
    void OnColumnHeadersRenamed() override {}
    void OnColumnAutoSized(int) override {}
    void OnBusyChanged(bool) override {}
    void OnProgress(int done, int total) override
    {
        m_lastTotal = total;
        if (done == m_at)
            m_list.RequestStop();
    }
    int m_lastTotal = 0;

private:
    CDirItemList &m_list;
    int m_at;
};
} // namespace

TEST(DirListStop, StoppedCheckKeepsRowsAndSaysSo)
{
    test::CLogCapture capture;
    QTemporaryDir folder;
    for (int i = 0; i < 5; ++i)
        test::WriteBytes(folder.filePath(u"song%1.mid"_s.arg(i)), "not a midi file");
    CDirItemList list;
    CStopAt observer(list, 2);
    list.SetObserver(&observer);
    list.m_nTopLevel = 0;
    ListSelectDirectory(list, folder.path());
    EXPECT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(observer.m_lastTotal, 5);
    EXPECT_TRUE(capture.DirectoryLog().contains(u"LIST, Check stopped by the user after 2 of 5 files"_s));
    EXPECT_FALSE(capture.DirectoryLog().contains(u"LIST, ListSelectDirectory OK"_s));
    EXPECT_FALSE(list.IsStopRequested()); // the next check starts afresh
    list.RequestStop();                   // and asking outside a check does nothing
    EXPECT_FALSE(list.IsStopRequested());
}
