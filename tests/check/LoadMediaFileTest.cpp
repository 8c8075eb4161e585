#include "check/CheckFixture.h"

#include "check/LoadMediaFile.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

_ITEMINFO SongItem(const QString &folder, const QString &fileNames)
{
    _ITEMINFO item;
    item.dwFlags = ITEM_WALK;
    item.dwFileAttributes = 0x80;
    item.szFileName = fileNames;
    item.szPath = folder + u"/"_s + fileNames.section(u';', 0, 0);
    return item;
}

} // namespace

TEST(LoadMediaFile, EmptyFileListIsErrorMinusOne)
{
    test::CCheckFixture f;
    _ITEMINFO item = SongItem(f.Root(), u";;"_s);
    EXPECT_EQ(LoadMediaFile(item), 0);
    EXPECT_EQ(item.szResult.Text(), u"LoadMediaFile -1"_s);
    EXPECT_EQ(f.capture.ErrorLog(), QStringList({u"ERROR, LoadMediaFile -1"_s}));
}

TEST(LoadMediaFile, VanishedSecondFileIsErrorMinusTwo)
{
    test::CCheckFixture f;
    f.AddFile(u"song.cdg"_s);
    _ITEMINFO item = SongItem(f.Root(), u"song.cdg;song.mp3"_s);
    EXPECT_EQ(LoadMediaFile(item), 0);
    EXPECT_EQ(item.szResult.Text(), u"LoadMediaFile -2"_s);
    EXPECT_EQ(f.capture.ErrorLog(), QStringList({u"ERROR, LoadMediaFile -2, "_s + f.Path(u"song.mp3"_s)}));
}

TEST(LoadMediaFile, FoldersAndLoadedRowsNeedNothing)
{
    test::CCheckFixture f;
    _ITEMINFO folder = SongItem(f.Root(), u"100% Hits"_s);
    folder.dwFileAttributes = 0x10;
    EXPECT_EQ(LoadMediaFile(folder), 1);

    _ITEMINFO loaded = SongItem(f.Root(), u"missing.mp3"_s);
    loaded.dwFlags |= ITEM_DETAILS_LOADED;
    EXPECT_EQ(LoadMediaFile(loaded), 1);
    EXPECT_TRUE(loaded.szResult.IsEmpty());
    EXPECT_EQ(f.capture.DirectoryLog(), QStringList({u"LOAD, Folder "_s + f.Path(u"100? Hits"_s),
                                                     u"LOAD, LoadMediaFile "_s + f.Path(u"missing.mp3"_s)}));
}

TEST(LoadMediaFile, TagsComeFromEveryFileInOrder)
{
    test::CCheckFixture f;
    const samplegen::SId3Fields first{u"First"_s, u"One"_s, u"Album"_s, 2001, 3, u"Pop"_s, 13, {}};
    const samplegen::SId3Fields second{u"Second"_s, u"Two"_s, QString(), 2002, 0, QString(), 0, {}};
    f.AddFile(u"song.cdg"_s, QByteArray(7200, '\0'));
    f.AddFile(u"song.mp3"_s, samplegen::MakeMp3File(&first, true, false, 400));
    f.AddFile(u"song-.mp3"_s, samplegen::MakeMp3File(&second, false, true, 200));

    _ITEMINFO item = SongItem(f.Root(), u"song.cdg;song.mp3;song-.mp3"_s);
    EXPECT_EQ(LoadMediaFile(item), 1);
    EXPECT_EQ(item.szTitle.Text(), u"Second"_s);   // the last file with tags wins
    EXPECT_EQ(item.nYear, 2002);
    EXPECT_EQ(item.nDuration, 5);
    EXPECT_TRUE(item.IsDetailsLoaded());
    EXPECT_TRUE(item.szResult.IsEmpty());

    // The second file vanished: the first one's tags stay, the error names the missing path.
    _ITEMINFO partial = SongItem(f.Root(), u"song.mp3;gone.mp3"_s);
    EXPECT_EQ(LoadMediaFile(partial), 0);
    EXPECT_EQ(partial.szTitle.Text(), u"First"_s);
    EXPECT_EQ(partial.nTrack, 3);
    EXPECT_EQ(partial.nDuration, 10);
    EXPECT_EQ(partial.szResult.Text(), u"LoadMediaFile -2"_s);
    EXPECT_TRUE(f.capture.ErrorLog().contains(u"ERROR, LoadMediaFile -2, "_s + f.Path(u"gone.mp3"_s)));
}
