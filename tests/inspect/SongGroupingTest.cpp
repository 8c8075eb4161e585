#include "inspect/MediaTypes.h"
#include "inspect/SongGrouping.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// Items as the directory walk makes them: folder + "/" + name.
CArray<_ITEMINFO> Items(std::initializer_list<QString> paths)
{
    CArray<_ITEMINFO> items;
    for (const QString &path : paths) {
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK;
        item.szPath = path;
        item.szFileName = path.section(u'/', -1);
        items.Add(std::move(item));
    }
    return items;
}

struct SGroup
{
    int joined;
    QString fileList;
};

SGroup Group(std::initializer_list<QString> paths, int first = 0)
{
    SGroup group{};
    group.joined = GroupSongFiles(Items(paths), first, group.fileList);
    return group;
}

} // namespace

TEST(MediaTypes, KnownMediaByRealExtension)
{
    for (const char16_t *name : {u"a.mp3", u"A.MP3", u"b.scdg", u"c.Kar", u"d.cda", u"x.y.zip", u"e.lrc"})
        EXPECT_TRUE(IsKnownMediaFile(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
    for (const char16_t *name : {u"mp3", u"a.mp3x", u"a.txt", u".", u"", u"song.mp3/", u"a.jpeg"})
        EXPECT_FALSE(IsKnownMediaFile(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
}

TEST(MediaTypes, RolesByLastFourCharacters)
{
    EXPECT_EQ(SongRoleOf(u"a.WAV"_s), ESongRole::Audio);
    EXPECT_EQ(SongRoleOf(u"a.avi"_s), ESongRole::Companion);
    EXPECT_EQ(SongRoleOf(u"a.scdg"_s), ESongRole::None);
    EXPECT_EQ(SongRoleOf(u"a.kar"_s), ESongRole::None);
    EXPECT_EQ(SongRoleOf(u"mp3"_s), ESongRole::None);
}

TEST(SongGrouping, DashMp3JoinsItsGraphicsAndGoesLast)
{
    const SGroup dash = Group({u"/k/Song-.mp3"_s, u"/k/Song.cdg"_s});
    EXPECT_EQ(dash.joined, 1);
    EXPECT_EQ(dash.fileList, u"Song.cdg;Song-.mp3"_s);

    const SGroup both = Group({u"/k/Song--.mp3"_s, u"/k/Song.mp3"_s, u"/k/song.cdg"_s});
    EXPECT_EQ(both.joined, 2);
    EXPECT_EQ(both.fileList, u"song.cdg;Song.mp3;Song--.mp3"_s);

    // The "-" rule is for MP3 files only.
    EXPECT_EQ(Group({u"/k/Song-.cdg"_s, u"/k/Song.mp3"_s}).joined, 0);
}

TEST(SongGrouping, MembersOrderedGraphicsAudioRest)
{
    const SGroup trio = Group({u"/k/Song.cdg"_s, u"/k/Song.mp3"_s, u"/k/song.wav"_s});
    EXPECT_EQ(trio.joined, 2);
    EXPECT_EQ(trio.fileList, u"Song.cdg;Song.mp3;song.wav"_s);

    const SGroup mixed = Group({u"/k/A.avi"_s, u"/k/a.lrc"_s, u"/k/A.mp3"_s, u"/k/a.ncg"_s});
    EXPECT_EQ(mixed.fileList, u"a.ncg;A.mp3;A.avi;a.lrc"_s);
}

TEST(SongGrouping, GroupsNeedAudioAndACompanion)
{
    EXPECT_EQ(Group({u"/k/Song.mp3"_s, u"/k/Song.wav"_s}).joined, 0);
    EXPECT_EQ(Group({u"/k/Song.kar"_s, u"/k/Song.mp3"_s}).joined, 0);
    EXPECT_EQ(Group({u"/k/Song.mdk"_s, u"/k/Song.mp3"_s}).joined, 0);
    const SGroup none = Group({u"/k/Song.cdg"_s});
    EXPECT_EQ(none.joined, 0);
    EXPECT_TRUE(none.fileList.isEmpty());
}

TEST(SongGrouping, WhatEndsAGroup)
{
    // Folders compare with regard to case, base names without.
    EXPECT_EQ(Group({u"/K/a.mp3"_s, u"/k/a.cdg"_s}).joined, 0);
    EXPECT_EQ(Group({u"/k/A.mp3"_s, u"/k/a.CDG"_s}).joined, 1);
    EXPECT_EQ(Group({u"/k/a.mp3"_s, u"/j/a.cdg"_s}).joined, 0);
    // A folder spelt with a doubled separator is the same folder.
    EXPECT_EQ(Group({u"/k//a.mp3"_s, u"/k/a.cdg"_s}).joined, 1);

    const SGroup zip = Group({u"/k/Song.cdg"_s, u"/k/Song.mp3"_s, u"/k/Song.zip"_s});
    EXPECT_EQ(zip.joined, 1);
    EXPECT_EQ(zip.fileList, u"Song.cdg;Song.mp3"_s);

    // A zip at the head of a group is a member like any other.
    EXPECT_EQ(Group({u"/k/Song.zip"_s, u"/k/Song.cdg"_s, u"/k/Song.mp3"_s}).fileList,
              u"Song.cdg;Song.mp3;Song.zip"_s);

    // An unknown file between members ends the group.
    EXPECT_EQ(Group({u"/k/Song.cdg"_s, u"/k/Song.jpg"_s, u"/k/Song.mp3"_s}).joined, 0);
    // The group starts where it is asked to, and an index past the end forms nothing.
    EXPECT_EQ(Group({u"/k/x.txt"_s, u"/k/b.cdg"_s, u"/k/b.mp3"_s}, 1).joined, 1);
    EXPECT_EQ(Group({u"/k/b.cdg"_s}, 5).joined, 0);
    EXPECT_EQ(Group({u"/k/b.cdg"_s}, -1).joined, 0);
}
