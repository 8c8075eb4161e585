#include "check/CheckFixture.h"

#include "check/DirectoryWalk.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(DirectoryWalk, FlatWalkSkipsDotsBackupsAndTheListCache)
{
    test::CCheckFixture f;
    f.AddFile(u"song.mp3"_s);
    f.AddFile(u"song.mp3.BAK"_s);
    f.AddFile(u"QCGList.txt"_s);
    f.AddFile(u"juke.txt"_s);
    f.AddFolder(u"Sub"_s);
    f.list.m_nTopLevel = 1;
    f.list.m_strCurrentFolder = f.Root();

    DirectoryItemInfo(f.list, f.Root());
    EXPECT_EQ(f.FileNames(), QStringList({u"juke.txt"_s, u"song.mp3"_s, u"Sub"_s}));
    EXPECT_EQ(f.list.Item(1).szPath.Text(), f.Path(u"song.mp3"_s));
    EXPECT_TRUE(f.list.Item(2).IsFolder());
    EXPECT_EQ(f.capture.DirectoryLog(), QStringList({u"LIST, DirectoryItemInfo"_s}));
}

TEST(DirectoryWalk, SubfoldersGiveFilesOnlyFolderByFolderDepthFirst)
{
    test::CCheckFixture f;
    f.AddFile(u"z.mp3"_s);
    f.AddFile(u"A/b.mp3"_s);
    f.AddFile(u"A/Deep/c.mp3"_s);
    f.AddFile(u"A/old.bak"_s);
    f.AddFile(u"B/d.mp3"_s, QByteArray(300, 'x'));
    f.AddFolder(u"Empty"_s);
    f.list.m_nTopLevel = 1;
    f.list.m_nIncludeSubfolders = 1;
    f.list.m_strCurrentFolder = f.Root();

    DirectoryItemInfo(f.list, f.Root());
    EXPECT_EQ(f.FileNames(), QStringList({u"z.mp3"_s, u"b.mp3"_s, u"c.mp3"_s, u"d.mp3"_s}));
    EXPECT_EQ(f.list.Item(2).szPath.Text(), f.Path(u"A/Deep/c.mp3"_s));
    EXPECT_EQ(f.list.Item(3).nFileSize, 300u);
    EXPECT_EQ(f.list.Item(3).dwFileAttributes, 0x80u);
}

TEST(DirectoryWalk, LinkedFolderLoopsAreListedOnce)
{
    test::CCheckFixture f;
    f.AddFile(u"A/a.mp3"_s);
    ASSERT_TRUE(QFile::link(f.Root(), f.Path(u"A/loop"_s)));
    const auto files = ListFolderTree(f.Root());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].strName, u"a.mp3"_s);
}

TEST(DirectoryWalk, JukeWalkKeepsTheParentRowAndUsesSongsFolder)
{
    test::CCheckFixture f;
    f.AddFile(u"juke.txt"_s, "123456789");
    f.AddFile(u"top.mp3"_s);
    f.AddFile(u"_Songs/1.mp3"_s);
    f.AddFile(u"_Songs/JUKE.TXT"_s);
    f.AddFile(u"_Songs/1.bak"_s);
    f.list.m_strCurrentFolder = f.Root();

    DirectoryItemInfoJUKE(f.list, f.Root());
    EXPECT_EQ(f.FileNames(), QStringList({u".."_s, u"1.mp3"_s}));
    EXPECT_EQ(f.list.Item(1).szPath.Text(), f.Path(u"_Songs/1.mp3"_s));
    EXPECT_EQ(f.capture.DirectoryLog().first(), u"LIST, DirectoryItemInfoJUKE"_s);
}

TEST(DirectoryWalk, FlatWalkStopsAfter100001Rows)
{
    test::CCheckFixture f;
    for (int i = 0; i < kFlatWalkRowLimit + 5; ++i) {
        QFile file(f.Path(QString::number(i)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    f.list.m_nTopLevel = 1;
    f.list.m_strCurrentFolder = f.Root();
    DirectoryItemInfo(f.list, f.Root());
    EXPECT_EQ(f.list.GetItemCount(), kFlatWalkRowLimit + 1);
}
