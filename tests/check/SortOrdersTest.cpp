#include "check/DirItemList.h"
#include "check/SortOrders.h"

#include <QSet>
#include <algorithm>
#include <numeric>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

void AddItem(CDirItemList &list, const QString &fileName, bool folder = false)
{
    _ITEMINFO item;
    item.dwFlags = ITEM_WALK;
    item.dwFileAttributes = folder ? 0x10 : 0x80;
    item.szFileName = fileName;
    item.szPath = u"/k/"_s + fileName;
    list.m_items.Add(std::move(item));
}

QStringList Names(const CDirItemList &list)
{
    QStringList names;
    for (int i = 0; i < list.GetItemCount(); ++i)
        names.append(list.Item(i).szFileName.Text());
    return names;
}

} // namespace

TEST(SortOrders, FileOrderPutsNumberedSongsByNumber)
{
    CDirItemList list;
    for (const auto *name : {u"abc.mp3", u"10.mp3", u"Sub", u"9.mp3", u"..", u"B.cdg;B.mp3", u"a.mp3"})
        AddItem(list, QString::fromUtf16(name), QStringView(name) == u"Sub" || QStringView(name) == u"..");
    SortByFileOrder(list);
    EXPECT_EQ(Names(list), QStringList({u".."_s, u"Sub"_s, u"9.mp3"_s, u"10.mp3"_s, u"a.mp3"_s,
                                        u"abc.mp3"_s, u"B.cdg;B.mp3"_s}));
}

TEST(SortOrders, LeadingZerosDoNotChangeTheNumber)
{
    CDirItemList list;
    for (const auto *name : {u"8.mp3", u"007.mp3", u"70.mp3", u"7.kar"})
        AddItem(list, QString::fromUtf16(name));
    SortByFileOrder(list);
    const QStringList names = Names(list);
    // 007 and 7 compare equal: both come before 8, in either order.
    EXPECT_EQ(QSet<QString>({names[0], names[1]}), QSet<QString>({u"007.mp3"_s, u"7.kar"_s}));
    EXPECT_EQ(names.mid(2), QStringList({u"8.mp3"_s, u"70.mp3"_s}));
}

TEST(SortOrders, DirectoryOrderComparesWholePaths)
{
    CDirItemList list;
    AddItem(list, u"b.mp3"_s);
    AddItem(list, u"Zed"_s, true);
    AddItem(list, u"A.cdg"_s);
    AddItem(list, u".."_s, true);
    AddItem(list, u"a.mp3"_s);
    SortByDirectoryOrder(list);
    EXPECT_EQ(Names(list), QStringList({u".."_s, u"Zed"_s, u"A.cdg"_s, u"a.mp3"_s, u"b.mp3"_s}));
}

TEST(SortOrders, TwoParentRowsDoNotBreakTheSort)
{
    CDirItemList list;
    for (int i = 0; i < 40; ++i)
        AddItem(list, i % 5 == 0 ? u".."_s : u"%1.mp3"_s.arg(40 - i), i % 5 == 0);
    SortByFileOrder(list);
    SortByDirectoryOrder(list);
    ASSERT_EQ(list.GetItemCount(), 40);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(list.Item(i).szFileName.Text(), u".."_s);
}

// The rows are put in order in place, cycle by cycle; every row must arrive once, with all
// of its fields, in the order a stable sort by Qt's compare without case gives.
TEST(SortOrders, ALargeShuffledFolderComesOutInOrderWithEveryRowWhole)
{
    CDirItemList list;
    QStringList names;
    for (int i = 0; i < 3000; ++i) {
        const int n = (i * 7919) % 3000;
        names.append(u"%1song %2.%3"_s.arg(n % 3 == 0 ? u"S"_s : u"s"_s).arg(n / 3).arg(n % 2 ? u"mp3"_s : u"CDG"_s));
        AddItem(list, names.last());
        list.Item(i).nFileSize = quint64(names.last().size()) * 1000 + quint64(n % 1000);
    }
    SortByDirectoryOrder(list);
    std::stable_sort(names.begin(), names.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ASSERT_EQ(Names(list), names);
    for (int i = 0; i < list.GetItemCount(); ++i)
        EXPECT_EQ(list.Item(i).nFileSize / 1000, quint64(list.Item(i).szFileName.Text().size()));
}

// Keys hold a folder's folded text once for the rows listed in it; the order must still be
// that of whole paths compared without case, where a folder may be a prefix of another
// folder or of a name, and surrogates keep a text from being folded.
TEST(SortOrders, DirectoryOrderOfPathsSplitAtTheirFoldersIsThatOfWholePaths)
{
    const QStringList paths = {
        u"/lib/a b/c.mp3"_s, u"/lib/a/b.mp3"_s, u"/lib/A/B.cdg"_s, u"/lib/a/zz.mp3"_s, u"/lib/a/Sub/a.mp3"_s,
        u"/lib/ab/c.mp3"_s, u"/lib/a/bc"_s, u"/lib/Ä/x.mp3"_s, u"/lib/ä/X.mp3"_s, u"/lib/a/\U0001F3A4 mic.mp3"_s,
        u"/lib/a/\U0001F3A4 MIC.cdg"_s, u"/lib/\U0001F3A4/a.mp3"_s, u"/lib/a/b.mp3"_s, u"/lib/a/"_s,
        u"/lib/a/B.MP3.bak2"_s, u"/lib/STRASSE/ß.mp3"_s, u"/lib/strasse/ss.mp3"_s, u"/lib/a/b"_s, u"/lib"_s,
        u"/lib/a/sub/B.mp3"_s, u"/lib/a/SUB/a.cdg"_s, u"/lib/a/\uFF21 wide.mp3"_s, u"/lib/\uFF41/b.mp3"_s,
    };
    CDirItemList list;
    for (int i = 0; i < paths.size(); ++i) {
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK;
        item.dwFileAttributes = 0x80;
        item.nFileSize = quint64(i);
        item.SetPath(paths[i]);
        item.SetFileNames({paths[i].section(u'/', -1)});
        list.m_items.Add(std::move(item));
    }
    SortByDirectoryOrder(list);

    std::vector<int> expected(size_t(paths.size()));
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        return paths[a].compare(paths[b], Qt::CaseInsensitive) < 0;
    });
    QStringList got;
    QStringList want;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        got.append(list.Item(i).FullPath());
        want.append(paths[expected[size_t(i)]]);
    }
    ASSERT_EQ(got, want);
}
