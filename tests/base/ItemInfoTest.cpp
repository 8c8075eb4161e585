// The one way to a row's files: whole paths, names kept apart from the shown ";" joining.
#include "base/ItemInfo.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(ItemInfo, FilesOfARowAreKeptApartFromWhatItShows)
{
    _ITEMINFO song;
    const QString folder = u"/k/"_s + QString(300, u'x') + u'/';
    song.SetPath(folder + u"Rock; Roll.cdg"_s);
    song.SetFileNames({u"Rock; Roll.cdg"_s, u"Rock; Roll.mp3"_s});
    EXPECT_EQ(song.szFileName.Text(), u"Rock; Roll.cdg;Rock; Roll.mp3"_s);
    EXPECT_EQ(song.szPath.Text().size(), 259);
    EXPECT_EQ(song.FullPath(), folder + u"Rock; Roll.cdg"_s);
    EXPECT_EQ(song.FileNames(), QStringList({u"Rock; Roll.cdg"_s, u"Rock; Roll.mp3"_s}));
    EXPECT_EQ(song.FilePaths(), QStringList({folder + u"Rock; Roll.cdg"_s, folder + u"Rock; Roll.mp3"_s}));

    // A row whose list came from a playlist or song list holds only the joined text.
    _ITEMINFO listed;
    listed.szPath = u"/k/Pop/00001.cdg"_s;
    listed.szFileName = u"00001.cdg;;00001.mp3"_s;
    EXPECT_EQ(listed.FullPath(), u"/k/Pop/00001.cdg"_s);
    EXPECT_EQ(listed.FileNames(), QStringList({u"00001.cdg"_s, u"00001.mp3"_s}));
    EXPECT_EQ(listed.FilePaths(), QStringList({u"/k/Pop/00001.cdg"_s, u"/k/Pop/00001.mp3"_s}));
}

TEST(ItemInfo, TheFirstFileNameIsTheFirstOfTheRowsFiles)
{
    _ITEMINFO one;
    one.SetFileNames({u"a;b.mp3"_s});
    _ITEMINFO merged;
    merged.SetFileNames({u"S.cdg"_s, u"S.mp3"_s});
    _ITEMINFO joined;
    joined.szFileName = u";;00001.cdg;;00001.mp3"_s;
    _ITEMINFO empty;
    _ITEMINFO onlySeparators;
    onlySeparators.szFileName = u";;"_s;
    _ITEMINFO longName;
    longName.SetFileNames({QString(600, u'n')});
    for (const _ITEMINFO *item : {&one, &merged, &joined, &empty, &onlySeparators, &longName})
        EXPECT_EQ(item->FirstFileName(), item->FileNames().value(0));
    EXPECT_EQ(one.FirstFileName(), u"a;b.mp3"_s);
    EXPECT_EQ(joined.FirstFileName(), u"00001.cdg"_s);
    EXPECT_EQ(longName.FirstFileName().size(), 600);
}
