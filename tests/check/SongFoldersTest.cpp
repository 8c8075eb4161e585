#include "check/CheckFixture.h"

#include "check/ListSelectDirectory.h"
#include "check/SongFolders.h"
#include "samplegen/TextEncoding.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(SongFolders, NumberedFoldersGiveOneRowPerListedSong)
{
    test::CCheckFixture f;
    for (const char *name : {"ZR000000/42.cdg", "ZR000000/42-.mp3", "ZR000000/42.mp3", "ZR000000/9.txt",
                             "ZR000000/9.avi", "ZR002000/7.avi", "ZR002000/7.mp3", "ZR002000/Track.mp3",
                             "ZR002000/0.mp3"})
        f.AddFile(QString::fromLatin1(name));
    f.AddFile(u"ZR000000/ZR000000.TXT"_s,
              samplegen::Utf16WithMark(u"  42|T\u00edtulo|Artist|Album\r\n9|Nine|Band\r\n0|x|y\r\nno bar\r\n15|T|A\r\n"_s));
    f.AddFile(u"ZR002000/zr002000.txt"_s, "\xEF\xBB\xBF" "7|Seven|Crew\n");
    f.AddFile(u"ZR001000.txt"_s, "1|stray|list\n"); // not a folder
    f.list.m_strCurrentFolder = f.Root();

    ListSongFolders(f.list, f.Root());
    ASSERT_EQ(f.FileNames(), QStringList({u"42.cdg;42.mp3;42-.mp3"_s, u"9.avi;9.txt"_s, u"7.avi;7.mp3"_s}));
    const _ITEMINFO &song = f.list.Item(0);
    EXPECT_EQ(song.szTitle.Text(), u"T\u00edtulo"_s);
    EXPECT_EQ(song.szArtist.Text(), u"Artist"_s);
    EXPECT_TRUE(song.IsDetailsLoaded());
    EXPECT_EQ(song.szPath.Text(), f.Path(u"ZR000000/42.cdg"_s));
    EXPECT_EQ(f.list.Item(2).szTitle.Text(), u"Seven"_s);
}

TEST(SongFolders, SongCheckRecognisesTheLayoutWithoutRegardToCase)
{
    test::CCheckFixture f;
    f.AddFile(u"zr000000/1.mp3"_s);
    f.AddFile(u"zr000000/1.cdg"_s);
    f.AddFile(u"zr000000/Zr000000.txt"_s, "1|One|Band\n");
    f.AddFile(u"loose.mp3"_s);

    ListSelectDirectory(f.list, f.Root());
    ASSERT_EQ(f.FileNames(), QStringList({u"1.cdg;1.mp3"_s}));
    const QStringList log = f.capture.DirectoryLog();
    EXPECT_FALSE(log.contains(u"LIST, DirectoryItemInfo"_s));
    EXPECT_TRUE(log.contains(u"LIST, AddListItem "_s + f.Path(u"zr000000/1.cdg"_s)));
}

TEST(SongFolders, FolderWithoutItsListIsNotTheLayout)
{
    test::CCheckFixture f;
    f.AddFile(u"ZR000000/1.mp3"_s);
    f.AddFile(u"a.mp3"_s);
    ListSelectDirectory(f.list, f.Root());
    EXPECT_EQ(f.FileNames(), QStringList({u"ZR000000"_s, u"a.mp3"_s}));
}
