#include "playlist/PlaylistFixture.h"

#include "base/Format.h"
#include "platform/Settings.h"
#include "playlist/JukeFile.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/PlaylistCommand.h"
#include "playlist/RevItemList.h"

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

const QString kHeader = u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s;

class JukeFile : public test::CPlaylistFixture
{
protected:
    QString RecordPlaylist(const QString &name, const QStringList &records)
    {
        QString text = kHeader;
        // Eight fields: a record holds eight "|" or goes on over the next line.
        for (QString record : records) {
            while (record.count(u'|') < 8)
                record += u'|';
            text += record + u"\r\n"_s;
        }
        return Write(name, Utf16(text));
    }
    QString Folder() const { return m_dir.path() + u'/'; }
    CRevItemList m_grid;
};

} // namespace

TEST_F(JukeFile, EightFieldLinesFillTheRow)
{
    const QString path = RecordPlaylist(u"list.txt"_s, {u"7|Song|Singer|a.mp3;a.cdg|D:\\Karaoke|Album|"
                                                        u"[50,0,0,1,0,-9,0,0,185](my memo)Bar 12|3-Pop-1999-1"_s});
    ASSERT_TRUE(m_grid.ListSelectDirectory(path, false));
    ASSERT_EQ(m_grid.GetItemCount(), 1);
    EXPECT_EQ(m_grid.PlaylistEncoding(), 1);
    EXPECT_EQ(m_grid.PlaylistPath(), path);
    const _ITEMINFO &row = m_grid.RowAt(0);
    EXPECT_EQ(row.dwFlags & REV_CHECK_PENDING, REV_CHECK_PENDING_SET); // settled on first fetch
    EXPECT_EQ(row.dwFlags & ITEM_CHECKED, 0u);
    QStringList cells;
    for (int c = 1; c <= 19; ++c)
        cells.append(m_grid.GetCellText(0, c));
    EXPECT_EQ(cells, (QStringList{u"000007"_s, u"Song"_s, u"Singer"_s, u"Album"_s, u"3"_s, u"Pop"_s, u"1999"_s,
                                  u"my memo"_s, u"50"_s, u"0"_s, u"Auto"_s, u"Left"_s, u"0"_s, u"Off"_s, u"Off"_s,
                                  u"Off"_s, u"3:05"_s, u"a.mp3;a.cdg"_s, u"Bar 12"_s}));
    EXPECT_EQ(row.szPath.Text(), u"D:\\Karaoke"_s);
    ASSERT_NE(m_grid.GetRow(0), nullptr);
    EXPECT_EQ(m_grid.RowAt(0).dwFlags & (REV_CHECK_PENDING | REV_FOUND), 0u);
}

TEST_F(JukeFile, EightBitPlaylistsGiveFiveFields)
{
    // A full record list: file, number, title, artist; the folder is the playlist's.
    Write(u"a.mp3"_s, "x");
    const QString path = Write(u"list.txt"_s, "a.mp3|7|Song|Singer\r\nb.mp3|8|Other|Band\r\n");
    m_grid.SetKeepSongNumbers(true);
    ASSERT_TRUE(m_grid.ListSelectDirectory(path, false));
    ASSERT_EQ(m_grid.GetItemCount(), 2);
    EXPECT_EQ(m_grid.PlaylistEncoding(), 0);
    EXPECT_EQ(m_grid.GetCellText(0, 1), QString());
    EXPECT_EQ(m_grid.GetCellText(0, 2), u"Song"_s);
    EXPECT_EQ(m_grid.GetCellText(0, 4), QString());
    EXPECT_EQ(m_grid.GetCellText(0, 14), u"Off"_s);
    EXPECT_EQ(m_grid.SongNumber(1), u"8"_s);
    EXPECT_TRUE(m_grid.RowFileFound(0));
    EXPECT_FALSE(m_grid.RowFileFound(1));
}

TEST_F(JukeFile, AppendsAfterTheRowsPresent)
{
    QStringList ten, five;
    for (int i = 0; i < 10; ++i)
        ten.append(Format(u"%d|Ten %d|A|t%d.mp3|/x/|||", i, i, i));
    for (int i = 0; i < 5; ++i)
        five.append(Format(u"%d|Five %d|A|f%d.mp3|/x/|||", i, i, i));
    ASSERT_TRUE(m_grid.ListSelectDirectory(RecordPlaylist(u"ten.txt"_s, ten), false));
    ASSERT_TRUE(m_grid.ListSelectDirectory(RecordPlaylist(u"five.txt"_s, five), true));
    ASSERT_EQ(m_grid.GetItemCount(), 15);
    EXPECT_EQ(m_grid.GetCellText(9, 2), u"Ten 9"_s);
    EXPECT_EQ(m_grid.GetCellText(10, 2), u"Five 0"_s);
    EXPECT_EQ(m_grid.GetCellText(14, 2), u"Five 4"_s);
}

TEST_F(JukeFile, StoredCountsNeverSizeTheGridBeyondTheCache)
{
    const QString path = RecordPlaylist(u"list.txt"_s, {u"1|One|A|1.mp3|/x/"_s, u"2|Two|A|2.mp3|/x/"_s,
                                                        u"3|Three|A|3.mp3|/x/"_s});
    QString cachePath;
    ASSERT_EQ(ConvertKlovPlaylist(path, cachePath), 3);
    const QString key = u"Juke/"_s + cachePath.section(u'/', -1);

    // A forged count far beyond the cache: only its lines become rows.
    OpenSettings()->setValue(key, 0x7FFFFFFF);
    ASSERT_TRUE(LoadJukeFile(m_grid, path));
    EXPECT_EQ(m_grid.GetItemCount(), 3);

    // A cache with more lines than counted: the rest is not read.
    OpenSettings()->setValue(key, 1);
    m_grid.RemoveAllRows();
    ASSERT_TRUE(LoadJukeFile(m_grid, path));
    EXPECT_EQ(m_grid.GetItemCount(), 1);
}

TEST_F(JukeFile, PlaylistsThatAreNotTextLoadNoRows)
{
    QByteArray binary("\xFF\xFE");
    for (int i = 0; i < 4096; ++i)
        binary.append(char(i * 37 % 251));
    EXPECT_TRUE(m_grid.ListSelectDirectory(Write(u"noise.txt"_s, binary), false));
    EXPECT_EQ(m_grid.GetItemCount(), 0);
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf16(kInvalidUnicodePlaylist)});
}

TEST_F(JukeFile, SongsOfAnotherDriveAreFoundBesideThePlaylist)
{
    // Drive F: holds the playlist and, after a copy, the songs that were on E:.
    const QString f = Folder() + u"f/"_s;
    Write(u"f/Karaoke/song.mp3"_s, "x");
    const QString path = RecordPlaylist(u"f/list.txt"_s, {u"1|Moved|A|song.mp3|E:\\Karaoke\\"_s,
                                                          u"2|Gone|A|gone.mp3|E:\\Karaoke\\"_s});
    CDriveMap drives;
    drives.SetMountPoint(u'E', Folder() + u"e"_s);
    drives.SetMountPoint(u'F', f);
    OpenSettings()->setValue(u"Drives/E"_s, Folder() + u"e"_s);
    OpenSettings()->setValue(u"Drives/F"_s, f);
    test::CLogCapture logs;
    LoadPlaylistAndCheckFiles(m_grid, path);
    ASSERT_EQ(m_grid.GetItemCount(), 2);
    EXPECT_EQ(m_grid.RowAt(0).szPath.Text(), f + u"Karaoke/"_s);
    EXPECT_TRUE(m_grid.RowFileFound(0));
    EXPECT_FALSE(m_grid.RowFileFound(1));
    const QStringList lines = logs.DirectoryLog();
    EXPECT_TRUE(lines.contains(u"CHECK, MediaFileStatus "_s + f + u"Karaoke/ (song.mp3), OK"_s)) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"CHECK, MediaFileStatus "_s + Folder() + u"e/Karaoke/ (gone.mp3), FIle not found"_s));
    EXPECT_TRUE(logs.ErrorLog().contains(u"CHECK, MediaFileStatus "_s + Folder() + u"e/Karaoke/ (gone.mp3), FIle not found"_s));
}

TEST_F(JukeFile, CheckLinesMakePercentSignsSafe)
{
    Write(u"50%.mp3"_s, "x");
    const QString path = RecordPlaylist(u"list.txt"_s, {u"1|Half|A|50%.mp3|"_s + Folder()});
    test::CLogCapture logs;
    LoadPlaylistAndCheckFiles(m_grid, path);
    const QStringList lines = logs.DirectoryLog();
    EXPECT_TRUE(lines.contains(u"LIST, ListSelectDirectory "_s + path));
    EXPECT_TRUE(lines.contains(u"LOAD, LoadJukeFile 1"_s));
    EXPECT_TRUE(lines.contains(u"CHECK, MediaFileStatus "_s + Folder() + u" (50?.mp3), OK"_s)) << lines.join(u'\n').toStdString();
}

TEST_F(JukeFile, AStoppedFileCheckLogsWhereItStoppedAndLooksNoFurther)
{
    Write(u"a.mp3"_s, "x");
    const QString path = RecordPlaylist(u"list.txt"_s, {u"1|A|A|a.mp3|"_s + Folder(), u"2|B|B|b.mp3|"_s + Folder(),
                                                        u"3|C|C|a.mp3|"_s + Folder()});
    test::CLogCapture logs;
    QList<int> heard;
    const int checked = LoadPlaylistAndCheckFiles(m_grid, path, [&heard](int done, int total) {
        heard.append(done * 10 + total);
        return done < 2;
    });
    EXPECT_EQ(checked, 2);
    EXPECT_EQ(heard, (QList<int>{3, 13, 23}));
    ASSERT_EQ(m_grid.GetItemCount(), 3);
    const QStringList lines = logs.DirectoryLog();
    const qsizetype stop = lines.indexOf(u"LIST, Check stopped by the user after 2 of 3 files"_s);
    ASSERT_GE(stop, 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.filter(u"CHECK, MediaFileStatus"_s).size(), 2);
    EXPECT_TRUE(lines.at(stop - 1).startsWith(u"CHECK, MediaFileStatus"_s));
    EXPECT_TRUE(logs.ErrorLog().contains(u"LIST, Check stopped by the user after 2 of 3 files"_s));
}

// A window paints rows (and so fetches them) between the lines of the file check; the lines
// still name the folder and file of every row, as they do when nothing is drawn.
TEST_F(JukeFile, RowsFetchedDuringTheFileCheckKeepTheirLinesWhole)
{
    Write(u"a.mp3"_s, "x");
    const QString path = RecordPlaylist(u"list.txt"_s, {u"1|A|A|a.mp3|"_s + Folder(), u"2|B|B|b.mp3|"_s + Folder(),
                                                        u"3|C|C|a.mp3|"_s + Folder()});
    test::CLogCapture logs;
    bool sortRefused = true;
    LoadPlaylistAndCheckFiles(m_grid, path, [this, &sortRefused](int, int total) {
        for (int i = 0; i < total; ++i)
            m_grid.GetRow(i);
        m_grid.SortByColumn(2); // the rows must keep their places until each is logged
        sortRefused = sortRefused && m_grid.SortColumn() == 0;
        return true;
    });
    EXPECT_TRUE(sortRefused);
    EXPECT_FALSE(m_grid.IsLoading());
    const QStringList lines = logs.DirectoryLog().filter(u"CHECK, MediaFileStatus"_s);
    EXPECT_EQ(lines, (QStringList{u"CHECK, MediaFileStatus "_s + Folder() + u" (a.mp3), OK"_s,
                                  u"CHECK, MediaFileStatus "_s + Folder() + u" (b.mp3), FIle not found"_s,
                                  u"CHECK, MediaFileStatus "_s + Folder() + u" (a.mp3), OK"_s}));
    // Once the command is over, a fetch settles each row as before.
    EXPECT_TRUE(m_grid.GetRow(0)->dwFlags & REV_FOUND);
    EXPECT_FALSE(m_grid.GetRow(1)->dwFlags & REV_FOUND);
    EXPECT_FALSE(m_grid.RowAt(1).dwFlags & REV_CHECK_PENDING);
}
