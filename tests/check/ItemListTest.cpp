#include "TestSupport.h"

#include "check/DirItemList.h"
#include "check/DirListObserver.h"
#include "base/ItemArray.h"
#include "platform/FindFile.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

SFindRecord FileRecord(const QString &name, quint32 attributes = FILE_ATTRIBUTE_NORMAL)
{
    SFindRecord record;
    record.dwFileAttributes = attributes;
    record.cFileName = name;
    record.nFileSize = 10;
    return record;
}

} // namespace

TEST(ItemArray, GrowsByAnEighthBetweenFourAnd1024)
{
    CArray<int> small;
    small.Add(1);
    EXPECT_EQ(small.GetAllocSize(), 4);

    CArray<int> large;
    large.SetSize(80'000);
    const int before = large.GetAllocSize();
    while (large.GetSize() < before)
        large.Add(0);
    large.Add(0);
    EXPECT_EQ(large.GetAllocSize(), before + 1024);

    CArray<int> fixedStep;
    fixedStep.SetGrowBy(100);
    fixedStep.Add(1);
    EXPECT_EQ(fixedStep.GetAllocSize(), 100);
}

TEST(DirItemList, NewItemDefaults)
{
    test::CLogCapture capture;
    CDirItemList list;
    list.m_nTopLevel = 1;
    ASSERT_TRUE(list.AddListItem(FileRecord(u"song.mp3"_s), u"/k/song.mp3"_s, 0));
    const _ITEMINFO &item = list.Item(0);
    EXPECT_EQ(item.dwFlags, 0x9u);
    EXPECT_EQ(item.anSettings[5], 0xFFF7);
    EXPECT_TRUE(item.szTitle.IsEmpty());
    EXPECT_TRUE(item.szArtist.IsEmpty());
    EXPECT_TRUE(item.szAlbum.IsEmpty());
    EXPECT_TRUE(item.szGenre.IsEmpty());
    EXPECT_TRUE(item.szResult.IsEmpty());
    EXPECT_EQ(item.nYear, 0);
    EXPECT_EQ(item.nTrack, 0);
    EXPECT_EQ(item.szFileName.Text(), u"song.mp3"_s);
    EXPECT_EQ(item.szPath.Text(), u"/k/song.mp3"_s);
    EXPECT_EQ(item.nFileSize, 10u);
    EXPECT_TRUE(item.IsWalkItem());
}

TEST(DirItemList, OnlyTheSongCheckLogsAddedRows)
{
    test::CLogCapture capture;
    CDirItemList list;
    list.m_nTopLevel = 1;
    list.AddListItem(FileRecord(u"a.mp3"_s), u"/k/a.mp3"_s, 0);
    list.m_nTopLevel = 0;
    list.AddListItem(FileRecord(u"100% b.mp3"_s), u"/k/100% b.mp3"_s, 0);
    EXPECT_EQ(capture.DirectoryLog(), QStringList({u"LIST, AddListItem /k/100? b.mp3"_s}));
    EXPECT_TRUE(capture.ErrorLog().isEmpty());
}

TEST(DirItemList, FoldersGetTheirTypeAndOpenIcons)
{
    CDirItemList list;
    list.m_nTopLevel = 1;
    list.AddListItem(FileRecord(u"Sub"_s, FILE_ATTRIBUTE_DIRECTORY), u"/k/Sub"_s, 0);
    list.AddListItem(FileRecord(u".."_s, FILE_ATTRIBUTE_DIRECTORY), u"/k/.."_s, 0);
    const _ITEMINFO &folder = list.Item(0);
    const _ITEMINFO &parent = list.Item(1);
    EXPECT_EQ(folder.szType.Text(), u"Folder"_s);
    EXPECT_TRUE(folder.IsFolder());
    EXPECT_NE(folder.nIcon, folder.nSelectedIcon);
    EXPECT_EQ(parent.nIcon, folder.nSelectedIcon);
    EXPECT_EQ(parent.nSelectedIcon, folder.nSelectedIcon);
}

TEST(DirItemList, LongTextsAreCutToTheirFields)
{
    CDirItemList list;
    list.m_nTopLevel = 1;
    const QString longName = QString(600, u'n');
    list.AddListItem(FileRecord(longName), u"/k/"_s + longName, 0);
    EXPECT_EQ(list.Item(0).szFileName.Text().size(), 519);
    EXPECT_EQ(list.Item(0).szPath.Text().size(), 259);

    _ITEMINFO item;
    item.szTitle = QString(127, u'a') + QString::fromUtf16(u"\U0001F3A4"); // surrogate pair at the cut
    EXPECT_EQ(item.szTitle.Text().size(), 127);
}

namespace {

class CRecordingObserver : public IDirListObserver
{
public:
    void OnListCleared() override { events.append(u"cleared"_s); }
    void OnRowAdded(int row, int) override { events.append(u"added %1"_s.arg(row)); }
    void OnItemCountSet(int count) override { events.append(u"count %1"_s.arg(count)); }
    void OnRowsRedrawn(int first, int last) override { events.append(u"redraw %1-%2"_s.arg(first).arg(last)); }
    void OnColumnHeadersRenamed() override { events.append(u"headers"_s); }
    void OnColumnAutoSized(int column) override { events.append(u"fit %1"_s.arg(column)); }
    void OnBusyChanged(bool busy) override { events.append(busy ? u"busy"_s : u"idle"_s); }
    QStringList events;
};

} // namespace

TEST(DirItemList, RowRefreshAsTheViewSeesIt)
{
    CDirItemList list;
    CRecordingObserver observer;
    list.m_nTopLevel = 1;
    list.AddListItem(FileRecord(u"a"_s), u"/k/a"_s, 0);
    list.AddListItem(FileRecord(u"b"_s), u"/k/b"_s, 0);
    list.SetObserver(&observer);
    list.ShowRow(1);
    list.ShowAllRows();
    EXPECT_EQ(observer.events, QStringList({u"redraw 1-1"_s, u"count 1"_s, u"count 2"_s, u"redraw 0-1"_s,
                                            u"fit 2"_s, u"fit 3"_s, u"fit 4"_s}));
    list.SetObserver(nullptr);
}
