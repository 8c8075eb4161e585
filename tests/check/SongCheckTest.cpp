#include "check/CheckFixture.h"

#include "check/ListSelectDirectory.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QStringList Header(const QString &path)
{
    const QString separator(48, u'=');
    return {QString(), separator, u"LIST, ListSelectDirectory "_s + path, separator};
}

} // namespace

TEST(SongCheck, RunLogTellsTheWholeStory)
{
    test::CCheckFixture f;
    f.AddFile(u"song.mp3"_s);
    f.AddFolder(u"Sub"_s);

    ListSelectDirectory(f.list, f.Root());
    QStringList expected = Header(f.Root());
    expected << u"LIST, DirectoryItemInfo"_s
             << u"LIST, AddListItem "_s + f.Path(u"song.mp3"_s)
             << u"LIST, AddListItem "_s + f.Path(u"Sub"_s)
             << u"LIST, Sort Directroys 2"_s
             << u"LIST, Item FileMerge Sub"_s
             << u"LIST, Item FileMerge song.mp3"_s
             << u"FILE, Item FileMerge 2"_s
             << u"LIST, Sort Files 2"_s
             << u"LOAD, Folder "_s + f.Path(u"Sub"_s)
             << u"LOAD, LoadMediaFile "_s + f.Path(u"song.mp3"_s)
             << u"LIST, ListSelectDirectory OK"_s
             << QString();
    EXPECT_EQ(f.capture.DirectoryLog(), expected);
    EXPECT_EQ(f.capture.ErrorLog(), Header(f.Root()));
    EXPECT_EQ(f.list.ColumnHeader(2), u"Title"_s);
}

TEST(SongCheck, NumberedSongsComeInNumberOrder)
{
    test::CCheckFixture f;
    for (const char *name : {"abc.mp3", "10.mp3", "9.mp3"})
        f.AddFile(QString::fromLatin1(name));
    ListSelectDirectory(f.list, f.Root());
    EXPECT_EQ(f.FileNames(), QStringList({u"9.mp3"_s, u"10.mp3"_s, u"abc.mp3"_s}));
}

TEST(SongCheck, ShortJukeListGetsThePlainWalk)
{
    test::CCheckFixture f;
    f.AddFile(u"juke.txt"_s, "12345678");
    f.AddFile(u"1.mp3"_s);
    ListSelectDirectory(f.list, f.Root());
    EXPECT_TRUE(f.capture.DirectoryLog().contains(u"LIST, DirectoryItemInfo"_s));
    EXPECT_EQ(f.FileNames(), QStringList({u"1.mp3"_s, u"juke.txt"_s}));
}

TEST(SongCheck, EmptyPathChangesNothing)
{
    test::CCheckFixture f;
    f.AddFile(u"1.mp3"_s);
    ListSelectDirectory(f.list, f.Root());
    const int rows = f.list.GetItemCount();
    f.capture.Logs().OpenRunLogs();

    ListSelectDirectory(f.list, QString());
    EXPECT_EQ(f.list.GetItemCount(), rows);
    EXPECT_TRUE(f.capture.DirectoryLog().isEmpty());
}

TEST(SongCheck, MissingFolderStillWritesEveryLine)
{
    test::CCheckFixture f;
    const QString missing = f.Path(u"gone"_s);
    ListSelectDirectory(f.list, missing);
    EXPECT_EQ(f.list.GetItemCount(), 0);
    const QStringList log = f.capture.DirectoryLog();
    EXPECT_TRUE(log.contains(u"LIST, Sort Directroys 0"_s));
    EXPECT_TRUE(log.contains(u"FILE, Item FileMerge 0"_s));
    EXPECT_EQ(log.value(log.size() - 2), u"LIST, ListSelectDirectory OK"_s);
}

TEST(SongCheck, GraphicsAndAudioOfOneSongBecomeOneRow)
{
    test::CCheckFixture f;
    f.AddFile(u"song.cdg"_s);
    f.AddFile(u"song.mp3"_s);

    ListSelectDirectory(f.list, f.Root());
    ASSERT_EQ(f.list.GetItemCount(), 1);
    EXPECT_EQ(f.list.Item(0).szFileName.Text(), u"song.cdg;song.mp3"_s);
    EXPECT_EQ(f.list.Item(0).szPath.Text(), f.Path(u"song.cdg"_s));

    QStringList expected = Header(f.Root());
    expected << u"LIST, DirectoryItemInfo"_s
             << u"LIST, AddListItem "_s + f.Path(u"song.cdg"_s)
             << u"LIST, AddListItem "_s + f.Path(u"song.mp3"_s)
             << u"LIST, Sort Directroys 2"_s
             << u"LIST, Item FileMerge song.cdg;song.mp3"_s
             << u"FILE, Item FileMerge 1"_s
             << u"LIST, Sort Files 1"_s
             << u"LOAD, LoadMediaFile "_s + f.Path(u"song.cdg"_s)
             << u"LIST, ListSelectDirectory OK"_s
             << QString();
    EXPECT_EQ(f.capture.DirectoryLog(), expected);
}

TEST(SongCheck, DashMp3RowKeepsTheGraphicsPath)
{
    // "Song-.mp3" sorts before "Song.cdg"; the merged row is the graphics file's.
    test::CCheckFixture f;
    f.AddFile(u"Song-.mp3"_s);
    f.AddFile(u"Song.cdg"_s);
    f.AddFile(u"Other.kar"_s);
    f.AddFile(u"Other.mp3"_s);
    ListSelectDirectory(f.list, f.Root());
    EXPECT_EQ(f.FileNames(), QStringList({u"Other.kar"_s, u"Other.mp3"_s, u"Song.cdg;Song-.mp3"_s}));
    EXPECT_EQ(f.list.Item(2).szPath.Text(), f.Path(u"Song.cdg"_s));
}
