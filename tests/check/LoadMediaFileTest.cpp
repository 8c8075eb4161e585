#include "check/CheckFixture.h"

#include "check/ItemDetails.h"
#include "check/LoadMediaFile.h"
#include "inspect/MediaAnalysis.h"
#include "inspect/MediaInfoLibrary.h"
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

namespace {

// Every file read and applied in order, as the song check did before it learnt to leave
// out reads whose result a later file overwrites.
_ITEMINFO ReadEveryFile(const QString &folder, const QStringList &names)
{
    _ITEMINFO item;
    for (const QString &name : names) {
        QStringList result;
        ReadMediaTags(folder + u'/' + name, result);
        if (result.isEmpty())
            AnalyseMediaFile(folder + u'/' + name, result);
        ApplyAnalysisResult(item, result);
    }
    return item;
}

void ExpectSameDetails(const _ITEMINFO &a, const _ITEMINFO &b)
{
    EXPECT_EQ(a.nDuration, b.nDuration);
    EXPECT_EQ(a.szTitle.Text(), b.szTitle.Text());
    EXPECT_EQ(a.szArtist.Text(), b.szArtist.Text());
    EXPECT_EQ(a.szAlbum.Text(), b.szAlbum.Text());
    EXPECT_EQ(a.nYear, b.nYear);
    EXPECT_EQ(a.nTrack, b.nTrack);
    EXPECT_EQ(a.szGenre.Text(), b.szGenre.Text());
    EXPECT_EQ(a.IsDetailsLoaded(), b.IsDetailsLoaded());
}

} // namespace

TEST(LoadMediaFile, UnreadGraphicsChangeNothing)
{
    test::CCheckFixture f;
    const samplegen::SId3Fields tags{u"Tagged"_s, u"Singer"_s, u"Album"_s, 1999, 4, u"Pop"_s, 13, {}};
    f.AddFile(u"song.cdg"_s, QByteArray(72000, '\0'));
    f.AddFile(u"tagged.mp3"_s, samplegen::MakeMp3File(&tags, true, false, 300));
    f.AddFile(u"plain.mp3"_s, samplegen::MakeMp3File(nullptr, false, false, 300));
    // Named as graphics but an MP3 with tags inside: only the media library sees the tags.
    f.AddFile(u"disguised.cdg"_s, samplegen::MakeMp3File(&tags, true, true, 300));

    const QList<QStringList> songs = {{u"song.cdg"_s, u"tagged.mp3"_s},
                                      {u"song.cdg"_s, u"plain.mp3"_s},
                                      {u"disguised.cdg"_s, u"plain.mp3"_s},
                                      {u"disguised.cdg"_s, u"song.cdg"_s},
                                      {u"song.cdg"_s}};
    for (const QStringList &names : songs) {
        SCOPED_TRACE(names.join(u';').toStdString());
        _ITEMINFO item = SongItem(f.Root(), names.join(u';'));
        EXPECT_EQ(LoadMediaFile(item), 1);
        ExpectSameDetails(item, ReadEveryFile(f.Root(), names));
    }

    // The graphics before tagged audio are left unread; before untagged audio they count.
    const SSongFileResults tagged = ReadSongFiles({f.Path(u"song.cdg"_s), f.Path(u"tagged.mp3"_s)});
    ASSERT_EQ(tagged.results.size(), 2);
    EXPECT_TRUE(tagged.results.at(0).isEmpty());
    const SSongFileResults plain = ReadSongFiles({f.Path(u"song.cdg"_s), f.Path(u"plain.mp3"_s)});
    ASSERT_EQ(plain.results.size(), 2);
    if (CMediaInfoModule::Shared().Load() == 1) {
        EXPECT_FALSE(plain.results.at(0).isEmpty());
        _ITEMINFO disguised = SongItem(f.Root(), u"disguised.cdg;plain.mp3"_s);
        LoadMediaFile(disguised);
        EXPECT_EQ(disguised.szTitle.Text(), u"Tagged"_s);
    }
}
