#include "check/CheckFixture.h"

#include "check/ListSelectDirectory.h"
#include "check/ProblemMarking.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

const _ITEMINFO &ItemNamed(const CDirItemList &list, const QString &name)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.Item(i).szFileName.Text() == name)
            return list.Item(i);
    static const _ITEMINFO none;
    ADD_FAILURE() << "no row " << name.toStdString();
    return none;
}

} // namespace

TEST(MediaDetailsCheck, UnreadableSongIsMarkedWithItsCompanion)
{
    test::CCheckFixture f;
    f.AddFile(u"Song.mp3"_s, "not audio at all");
    f.AddFile(u"SONG.cdg"_s, "not graphics");
    f.AddFile(u"other.txt"_s);
    f.AddFolder(u"Folder.mp3"_s);
    f.list.m_nTopLevel = 1;

    ListSelectDirectory(f.list, f.Root());
    const _ITEMINFO &song = ItemNamed(f.list, u"Song.mp3"_s);
    EXPECT_EQ(song.MarkClass(), 3);
    EXPECT_TRUE(song.IsChecked());
    EXPECT_EQ(song.szResult.Text(), u"AUDIO - Unknown Media"_s);

    // The .cdg comes first in list order, so it is a problem file before the .mp3 is examined.
    const _ITEMINFO &graphics = ItemNamed(f.list, u"SONG.cdg"_s);
    EXPECT_EQ(graphics.MarkClass(), 3);
    EXPECT_TRUE(graphics.szResult.IsEmpty());

    const _ITEMINFO &folder = ItemNamed(f.list, u"Folder.mp3"_s);
    EXPECT_EQ(folder.MarkClass(), 0);
    EXPECT_TRUE(folder.IsDetailsLoaded());

    const QStringList errors = f.capture.ErrorLog();
    EXPECT_TRUE(errors.contains(u"INFO, AUDIO - Unknown Media "_s + f.Path(u"Song.mp3"_s)));
    EXPECT_TRUE(errors.contains(u"INFO, KLOV Karaoke - Unknown Media "_s + f.Path(u"SONG.cdg"_s)));
    EXPECT_TRUE(errors.contains(u"TYPE, '%1' Type %2"_s.arg(ItemNamed(f.list, u"other.txt"_s).szType.Text(),
                                                             f.Path(u"other.txt"_s))));
    EXPECT_EQ(f.list.ColumnHeader(2), u"General"_s);
    EXPECT_EQ(f.list.ColumnHeader(4), u"Audio"_s);
}

TEST(MediaDetailsCheck, CompanionMarkingLeavesMarkedRowsAlone)
{
    CDirItemList list;
    const auto add = [&](const QString &path) {
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK;
        item.szPath = path;
        item.szType = u"Whatever"_s;
        list.m_items.Add(std::move(item));
    };
    add(u"/k/a.mp3"_s);
    add(u"/k/A.CDG"_s);
    add(u"/k/a.zip"_s);
    add(u"/k/b.cdg"_s);
    add(u"/k/noext"_s);
    list.Item(2).dwFlags |= ITEM_MARK_PROBLEM | ITEM_CHECKED;

    MarkProblemFile(list, 0);
    EXPECT_EQ(list.Item(0).MarkClass(), 3);
    EXPECT_EQ(list.Item(0).szResult.Text(), u"AUDIO - Unknown Media"_s);
    EXPECT_EQ(list.Item(1).MarkClass(), 2);
    EXPECT_TRUE(list.Item(1).IsChecked());
    EXPECT_EQ(list.Item(2).MarkClass(), 3);
    EXPECT_EQ(list.Item(3).MarkClass(), 0);

    // A companion found to be a problem itself is raised to class 3.
    MarkProblemFile(list, 1);
    EXPECT_EQ(list.Item(1).MarkClass(), 3);
    // A path without "." marks no companions.
    MarkProblemFile(list, 4);
    EXPECT_EQ(list.Item(4).szResult.Text(), u"'Whatever' Type"_s);
    EXPECT_EQ(list.Item(3).MarkClass(), 0);
}

TEST(MediaDetailsCheck, SubfolderFilesWithoutFolderRows)
{
    test::CCheckFixture f;
    f.AddFile(u"Sub/x.avi"_s, "junk");
    f.list.m_nTopLevel = 1;
    f.list.m_nIncludeSubfolders = 1;
    ListSelectDirectory(f.list, f.Root());
    ASSERT_EQ(f.list.GetItemCount(), 1);
    EXPECT_EQ(f.list.Item(0).szResult.Text(), u"VIDEO - Unknown Media"_s);
}
