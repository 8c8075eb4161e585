#include "base/ItemInfo.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/SongRecordFields.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

_ITEMINFO FileItem(const QString &fileName)
{
    _ITEMINFO item;
    item.dwFlags = ITEM_WALK;
    item.dwFileAttributes = 0x80;
    item.szFileName = fileName;
    item.anSettings[5] = 0xFFF7;
    return item;
}

_ITEMINFO FolderItem(const QString &name)
{
    _ITEMINFO item = FileItem(name);
    item.dwFileAttributes = 0x10;
    return item;
}

CArray<_ITEMINFO> Items(std::initializer_list<_ITEMINFO> list)
{
    CArray<_ITEMINFO> items;
    for (const _ITEMINFO &item : list)
        items.Add(item);
    return items;
}

} // namespace

TEST(PlaylistSettings, NineValuesMemoAndCustomer)
{
    _ITEMINFO item = FileItem(u"a.mp3"_s);
    item.szType = u"MP3"_s;
    ParseSettings(u"[1,2,3,4,5,6,100,200,215](live)Duet"_s, item);
    EXPECT_EQ(item.anSettings[0], 1);
    EXPECT_EQ(item.anSettings[5], 6);
    EXPECT_EQ(item.anSettings[6], 100);
    EXPECT_EQ(item.anSettings[7], 200);
    EXPECT_EQ(item.anSettings[8], 215);
    EXPECT_EQ(item.nDuration, 215);
    EXPECT_EQ(item.szMemo.Text(), u"live"_s);
    EXPECT_EQ(item.szType.Text(), u"Duet"_s);

    // Slots 0 to 5 keep their low 8 bits sign-extended, 6 to 8 their low 16 bits; values
    // past the ninth are ignored.
    ParseSettings(u"[ 300 ,-9,255,0,0,-9,70000,-1,65536,77]"_s, item);
    EXPECT_EQ(item.anSettings[0], 44);
    EXPECT_EQ(item.anSettings[1], 0xFFF7);
    EXPECT_EQ(item.anSettings[2], 0xFFFF);
    EXPECT_EQ(item.anSettings[6], 70000 & 0xFFFF);
    EXPECT_EQ(item.anSettings[7], 0xFFFF);
    EXPECT_EQ(item.nDuration, 0);
    EXPECT_EQ(item.anSettings[9], 0);
    // No memo now, and no customer text: the type stays.
    EXPECT_TRUE(item.szMemo.IsEmpty());
    EXPECT_EQ(item.szType.Text(), u"Duet"_s);
}

TEST(PlaylistSettings, PartialAndMalformedFields)
{
    _ITEMINFO item = FileItem(u"a.mp3"_s);
    item.nDuration = 99;
    ParseSettings(u"[7,8]"_s, item);
    EXPECT_EQ(item.anSettings[0], 7);
    EXPECT_EQ(item.anSettings[1], 8);
    EXPECT_EQ(item.anSettings[5], 0xFFF7); // untouched beyond the values given
    EXPECT_EQ(item.nDuration, 99);

    ParseSettings(QString(), item);
    ParseSettings(u"[]()"_s, item);
    EXPECT_EQ(item.anSettings[0], 7);

    ParseSettings(u"[1,,x,4](a long memo without its end"_s, item);
    EXPECT_EQ(item.anSettings[1], 0);
    EXPECT_EQ(item.anSettings[2], 0);
    EXPECT_EQ(item.anSettings[3], 4);
    EXPECT_EQ(item.szMemo.Text(), u"a long memo without its end"_s);

    ParseSettings(u"("_s + QString(200, u'm') + u")"_s + QString(200, u'c'), item);
    EXPECT_EQ(item.szMemo.Text().size(), 95);
    EXPECT_EQ(item.szType.Text().size(), 79);
}

TEST(PlaylistSettings, TrackText)
{
    _ITEMINFO item = FileItem(u"a.mp3"_s);
    DecodeTrackText(u"3-Pop-1999"_s, item);
    EXPECT_EQ(item.nTrack, 3);
    EXPECT_EQ(item.szGenre.Text(), u"Pop"_s);
    EXPECT_EQ(item.nYear, 1999);

    DecodeTrackText(u"4-1998"_s, item);
    EXPECT_EQ(item.nTrack, 4);
    EXPECT_TRUE(item.szGenre.IsEmpty());
    EXPECT_EQ(item.nYear, 1998);

    DecodeTrackText(u"12"_s, item); // no "-": nothing changes
    EXPECT_EQ(item.nTrack, 4);
    EXPECT_EQ(item.nYear, 1998);

    DecodeTrackText(u"x-"_s + QString(100, u'g') + u"-2001-1"_s, item);
    EXPECT_EQ(item.nTrack, 0);
    EXPECT_EQ(item.szGenre.Text().size(), 63);
    EXPECT_EQ(item.nYear, 2001);
}

TEST(PlaylistSongList, ByNumberFillsMatchingFileItems)
{
    CArray<_ITEMINFO> items = Items({FolderItem(u".."_s), FileItem(u"5.cdg;5.mp3"_s), FileItem(u"abc.mp3"_s),
                                     FileItem(u"12 Song.mp3"_s), FileItem(u"000.mp3"_s), FileItem(u"99.mp3"_s)});
    // Out of order on purpose: the lookup must still find every number.
    QStringList lines{u"12|Twelve|B"_s, u"7|Seven|C"_s,
                      u"5|Five|A|5.cdg;5.mp3||Album Five|[50,0,0,1,0,-9,0,0,185](Birthday)Bar 12|3-Pop-1999|"_s,
                      u"none|Zero Line|Z"_s, u"9|Nine|D"_s};
    ApplySongList(items, lines);

    const _ITEMINFO &five = items[1];
    EXPECT_TRUE(five.IsDetailsLoaded());
    EXPECT_EQ(five.szTitle.Text(), u"Five"_s);
    EXPECT_EQ(five.szArtist.Text(), u"A"_s);
    EXPECT_EQ(five.szAlbum.Text(), u"Album Five"_s);
    EXPECT_EQ(five.nDuration, 185);
    EXPECT_EQ(five.anSettings[0], 50);
    EXPECT_EQ(five.szMemo.Text(), u"Birthday"_s);
    EXPECT_EQ(five.szType.Text(), u"Bar 12"_s);
    EXPECT_EQ(five.nTrack, 3);
    EXPECT_EQ(five.szGenre.Text(), u"Pop"_s);
    EXPECT_EQ(five.nYear, 1999);

    EXPECT_EQ(items[3].szTitle.Text(), u"Twelve"_s);
    EXPECT_TRUE(items[3].szAlbum.IsEmpty());
    // A name of zeros is song 0, which a line without a number carries.
    EXPECT_EQ(items[4].szTitle.Text(), u"Zero Line"_s);
    for (const int skipped : {0, 2, 5}) {
        EXPECT_FALSE(items[skipped].IsDetailsLoaded()) << skipped;
        EXPECT_TRUE(items[skipped].szTitle.IsEmpty()) << skipped;
    }
    // The lines used are consumed.
    EXPECT_EQ(lines, QStringList({u"7|Seven|C"_s, u"9|Nine|D"_s}));
}

TEST(PlaylistSongList, EachLineServesOneItem)
{
    CArray<_ITEMINFO> items = Items({FileItem(u"5.cdg"_s), FileItem(u"5.mp3"_s), FileItem(u"05.wav"_s)});
    QStringList lines{u"5|First|A"_s, u"6|Six|B"_s, u"5|Second|A"_s};
    ApplySongList(items, lines);
    EXPECT_EQ(items[0].szTitle.Text(), u"First"_s);
    EXPECT_EQ(items[1].szTitle.Text(), u"Second"_s);
    EXPECT_FALSE(items[2].IsDetailsLoaded());
    EXPECT_EQ(lines, QStringList{u"6|Six|B"_s});
}

TEST(PlaylistSongList, ByNameComparesTheFirstFileNameExactly)
{
    CArray<_ITEMINFO> items = Items({FileItem(u"a.mp3;a.cdg"_s), FileItem(u"A.MP3"_s), FileItem(u"a.mp3"_s),
                                     FileItem(u"b.cdg"_s), FolderItem(u"a.mp3"_s)});
    const QString longTitle(300, u't');
    QStringList lines{u"a.mp3|Title A|Artist A|||Album A||7-Rock-2001|"_s, u"b.cdg|"_s + longTitle + u"|B"_s,
                      u"a.mp3|Title A2|Artist A2"_s, u"1|Numbered|N"_s};
    ApplySongList(items, lines);
    EXPECT_EQ(items[0].szTitle.Text(), u"Title A"_s);
    EXPECT_EQ(items[0].nTrack, 7);
    EXPECT_EQ(items[0].nYear, 2001);
    EXPECT_FALSE(items[1].IsDetailsLoaded());
    EXPECT_EQ(items[2].szTitle.Text(), u"Title A2"_s);
    EXPECT_EQ(items[3].szTitle.Text().size(), 127);
    EXPECT_FALSE(items[4].IsDetailsLoaded());
    EXPECT_EQ(lines, QStringList{u"1|Numbered|N"_s});
}

TEST(PlaylistSongList, EmptyListChangesNothing)
{
    CArray<_ITEMINFO> items = Items({FileItem(u"1.mp3"_s)});
    QStringList lines;
    ApplySongList(items, lines);
    EXPECT_FALSE(items[0].IsDetailsLoaded());
}
