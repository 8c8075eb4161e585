#include "playlist/PlaylistFixture.h"

#include "platform/Settings.h"
#include "playlist/RevItemList.h"

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class RevItemList : public test::CPlaylistFixture
{
protected:
    // A row of a record playlist, with its file in the test folder when present is set.
    void AddRow(const QString &title, const QString &settings, const QString &track = {}, bool present = true,
                const QString &artist = {})
    {
        const QString file = title + u".mp3"_s;
        if (present)
            Write(file, "x");
        m_grid.AddSongRecord(file, m_dir.path() + u'/', {}, title, artist, {}, settings, track);
    }
    QStringList Row(int row, int first, int last) const
    {
        QStringList cells;
        for (int c = first; c <= last; ++c)
            cells.append(m_grid.GetCellText(row, c));
        return cells;
    }
    QStringList Column(int column) const
    {
        QStringList cells;
        for (int i = 0; i < m_grid.GetItemCount(); ++i)
            cells.append(m_grid.GetCellText(i, column));
        return cells;
    }
    CRevItemList m_grid;
};

} // namespace

TEST_F(RevItemList, SettingsAreShownAsDesigned)
{
    AddRow(u"a"_s, u"[0,0,0,2,0,-9,0,0,0]"_s);
    EXPECT_EQ(Row(0, 9, 17), (QStringList{u"Auto"_s, u"0"_s, u"Auto"_s, u"Right"_s, u"0"_s, u"Off"_s, u"Off"_s,
                                          u"Off"_s, {}}));
    AddRow(u"b"_s, u"[200,-3,7,1,-2,5,10,-20,185](memo)Bar 12"_s, u"3-Pop-1999"_s);
    EXPECT_EQ(Row(1, 4, 19), (QStringList{{}, u"3"_s, u"Pop"_s, u"1999"_s, u"memo"_s, u"-56"_s, u"-3"_s, u"7"_s,
                                          u"Left"_s, u"-2"_s, u"5"_s, u"10"_s, u"-20"_s, u"3:05"_s, u"b.mp3"_s,
                                          u"Bar 12"_s}));
    AddRow(u"c"_s, u"[1,0,0,0,0,6,0,0,3600]"_s, u"3-1999"_s);
    EXPECT_EQ(Row(2, 5, 7), (QStringList{u"3"_s, {}, u"1999"_s}));
    EXPECT_EQ(Row(2, 12, 17), (QStringList{u"Stereo"_s, u"0"_s, u"Off"_s, u"Off"_s, u"Off"_s, u"60:00"_s}));
    AddRow(u"d"_s, u"[1,0,0,7,0,-5]"_s, u"12"_s);
    EXPECT_EQ(m_grid.GetCellText(3, 12), QString()); // a vocal value without a name
    EXPECT_EQ(m_grid.GetCellText(3, 14), u"-5"_s);
    EXPECT_EQ(m_grid.GetCellText(3, 5), QString());  // "12" holds no "-"
    EXPECT_EQ(qint16(m_grid.RowAt(1).anSettings[0]), -56);
    // No settings: silence "Off" all the same.
    AddRow(u"e"_s, {});
    EXPECT_EQ(m_grid.GetCellText(4, 14), u"Off"_s);
    EXPECT_EQ(m_grid.GetCellText(99, 2), QString());
}

TEST_F(RevItemList, RecordRowsAreCheckedAtOnce)
{
    AddRow(u"here"_s, {});
    AddRow(u"gone"_s, {}, {}, false);
    EXPECT_TRUE(m_grid.RowAt(0).dwFlags & REV_FOUND);
    EXPECT_FALSE(m_grid.RowAt(1).dwFlags & REV_FOUND);
    EXPECT_EQ(m_grid.RowAt(0).dwFlags & 0xFF0F, 0x3F0Du); // bits 0, 2, 3 and the layout number

    // ".cda" is always there; "scdg" looks for cvmd0001.dat in the folder.
    m_grid.AddSongRecord(u"Track01.cda"_s, u"/nowhere/"_s, {}, {}, {}, {}, {}, {});
    m_grid.AddSongRecord(u"disc.scdg"_s, m_dir.path() + u'/', {}, {}, {}, {}, {}, {});
    EXPECT_TRUE(m_grid.RowAt(2).dwFlags & REV_FOUND);
    EXPECT_FALSE(m_grid.RowAt(3).dwFlags & REV_FOUND);
    Write(u"cvmd0001.dat"_s, "x");
    m_grid.AddSongRecord(u"disc.scdg"_s, m_dir.path() + u'/', {}, {}, {}, {}, {}, {});
    EXPECT_TRUE(m_grid.RowAt(4).dwFlags & REV_FOUND);

    QString folder, file;
    EXPECT_TRUE(m_grid.CheckRowFile(0, folder, file)); // settled rows answer with empty texts
    EXPECT_TRUE(folder.isEmpty() && file.isEmpty());
}

TEST_F(RevItemList, SortingFollowsTheClicks)
{
    AddRow(u"b"_s, {}, {}, true, u"Zed"_s);
    AddRow(u"\ufeffC"_s, {}, {}, false, u"Amy"_s);
    AddRow(u"a"_s, {}, {}, true, u"Max"_s);
    m_grid.SortByColumn(2);
    EXPECT_EQ(Column(2), (QStringList{u"a"_s, u"b"_s, u"\ufeffC"_s}));
    EXPECT_TRUE(m_grid.SortAscending());
    m_grid.SortByColumn(2);
    EXPECT_EQ(Column(2), (QStringList{u"\ufeffC"_s, u"b"_s, u"a"_s}));
    EXPECT_FALSE(m_grid.SortAscending());
    m_grid.SortByColumn(3);
    EXPECT_TRUE(m_grid.SortAscending());
    EXPECT_EQ(Column(3), (QStringList{u"Amy"_s, u"Max"_s, u"Zed"_s}));
    // Volume sorts by whether the file was found: missing first.
    m_grid.SortByColumn(9);
    EXPECT_EQ(Column(2).first(), u"\ufeffC"_s);
    // Columns without a sort do nothing.
    m_grid.SortByColumn(12);
    EXPECT_EQ(m_grid.SortColumn(), 9);
}

TEST_F(RevItemList, ColumnLayoutIsSavedAndRestored)
{
    EXPECT_EQ(m_grid.ColumnLayoutKey(), u"CRevListView/ColumnHeaderCtrl-1"_s);
    EXPECT_TRUE(m_grid.ColumnLayoutValue().startsWith(u"(20,1) : 1,0,0 1,1,60 1,2,40"_s));

    m_grid.SetColumnWidth(8, 77);
    m_grid.ShowColumn(8, false);
    m_grid.SetColumnWidth(2, 131);
    m_grid.SaveColumnLayout();
    const QString saved = OpenSettings()->value(m_grid.ColumnLayoutKey()).toString();
    EXPECT_TRUE(saved.contains(u" 0,8,50 "_s)) << saved.toStdString(); // hidden: its default width

    CRevItemList reopened;
    reopened.RestoreColumnLayout();
    EXPECT_FALSE(reopened.IsColumnShown(8));
    EXPECT_EQ(reopened.ColumnWidth(8), 0);
    EXPECT_EQ(reopened.ColumnWidth(2), 131);
    reopened.ShowColumn(8, true);
    EXPECT_EQ(reopened.ColumnWidth(8), 50);

    // A value for another column count, or one that does not parse, leaves the defaults.
    CRevItemList other;
    QString wrong = saved;
    wrong.replace(0, 3, u"(19"_s);
    EXPECT_FALSE(other.ApplyColumnLayoutValue(wrong));
    EXPECT_FALSE(other.ApplyColumnLayoutValue(u"(20,1) : 1,0,0 garbage"_s));
    EXPECT_TRUE(other.IsColumnShown(8));
    EXPECT_EQ(other.ColumnWidth(2), 40);
    // An order that is not a permutation is not taken.
    QString twice = saved;
    twice.replace(u" 1,1,60"_s, u" 1,0,60"_s);
    EXPECT_TRUE(other.ApplyColumnLayoutValue(twice));
    EXPECT_EQ(other.ColumnAtPosition(1), 1);
}

TEST_F(RevItemList, DefaultShowsEveryColumnAgain)
{
    m_grid.SetAutoSize(false);
    m_grid.ShowColumn(4, false);
    std::array<int, kRevColumnCount> order{};
    for (int i = 0; i < kRevColumnCount; ++i)
        order[size_t(i)] = kRevColumnCount - 1 - i;
    m_grid.SetColumnOrder(order);
    m_grid.ResetColumns();
    EXPECT_TRUE(m_grid.IsColumnShown(4));
    EXPECT_EQ(m_grid.ColumnWidth(4), 30);
    EXPECT_EQ(m_grid.ColumnAtPosition(0), 0);
    EXPECT_TRUE(m_grid.AutoSize());
}

TEST_F(RevItemList, DummyPathEmptiesTheGridAndLoadsNothing)
{
    AddRow(u"a"_s, {});
    m_grid.SetPlaylist(Path(u"list.txt"_s), 1);
    EXPECT_FALSE(m_grid.ListSelectDirectory(Path(u"DUMMY"_s), false));
    EXPECT_EQ(m_grid.GetItemCount(), 0);
    EXPECT_TRUE(m_grid.PlaylistPath().isEmpty());
    EXPECT_EQ(m_grid.PlaylistEncoding(), 0);
    // Appending keeps the rows.
    AddRow(u"b"_s, {});
    EXPECT_FALSE(m_grid.ListSelectDirectory(u"C:\\songs\\dummy"_s, true));
    EXPECT_EQ(m_grid.GetItemCount(), 1);
    EXPECT_EQ(m_grid.NextIndexNumber(), 1);
}
