#include "playlist/PlaylistFixture.h"

#include "playlist/ArchiveString.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/MplFile.h"
#include "playlist/RevItemList.h"
#include "playlist/RowMemory.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/MplWriter.h"

#include <QtEndian>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using samplegen::ArchiveString16;
using samplegen::ArchiveString8;
using samplegen::MakeMplFile;

namespace {

std::optional<QString> ReadOne(const QByteArray &bytes)
{
    CByteReader reader(bytes);
    return ReadArchiveString(reader);
}

QByteArray Int32(qint32 value)
{
    QByteArray out(4, '\0');
    qToLittleEndian(value, out.data());
    return out;
}

// A file of count records whose strings are all empty: one byte each.
QByteArray EmptyRecords(const char *magic, int count, int stringsPerRecord)
{
    return ArchiveString8(magic) + Int32(count) + QByteArray(qsizetype(count) * stringsPerRecord, '\0');
}

class MplFile : public test::CPlaylistFixture
{
protected:
    bool Load(const QString &name, const QByteArray &bytes) { return m_grid.ListSelectDirectory(Write(name, bytes), true); }
    QStringList Cells(int column) const
    {
        QStringList cells;
        for (int i = 0; i < m_grid.GetItemCount(); ++i)
            cells.append(m_grid.GetCellText(i, column));
        return cells;
    }
    CRevItemList m_grid;
};

} // namespace

TEST(ArchiveString, EveryLengthPrefix)
{
    EXPECT_EQ(ReadOne(QByteArray::fromHex("026162")), u"ab"_s);
    EXPECT_EQ(ReadOne(QByteArray::fromHex("FFFEFF0261006200")), u"ab"_s);
    EXPECT_EQ(ReadOne(QByteArray::fromHex("00")), QString());

    // 254 fits the one-byte prefix; 255 needs FF and a 16-bit length.
    EXPECT_EQ(ArchiveString8(QByteArray(254, 'x')).left(1), QByteArray::fromHex("FE"));
    EXPECT_EQ(ArchiveString8(QByteArray(255, 'x')).left(3), QByteArray::fromHex("FFFF00"));
    EXPECT_EQ(ReadOne(ArchiveString8(QByteArray(254, 'x'))), QString(254, u'x'));
    EXPECT_EQ(ReadOne(ArchiveString8(QByteArray(255, 'x'))), QString(255, u'x'));
    EXPECT_EQ(ReadOne(ArchiveString8(QByteArray(70000, 'y'))), QString(70000, u'y'));
    EXPECT_EQ(ReadOne(ArchiveString16(QString(300, u'\u00e9'))), QString(300, u'\u00e9'));
    EXPECT_EQ(ReadOne(ArchiveString16(QString(70000, u'z'))), QString(70000, u'z'));
    // 8-bit text is in the ANSI code page (1252 here).
    EXPECT_EQ(ReadOne(QByteArray::fromHex("0143") + "af\xE9"), u"C"_s);
    EXPECT_EQ(ReadOne(QByteArray::fromHex("03") + "af\xE9"), u"af\u00e9"_s);
}

TEST(ArchiveString, RefusesWhatDoesNotFit)
{
    // Longer than the data, in each prefix form; a cut prefix; the 64-bit form.
    EXPECT_FALSE(ReadOne(QByteArray::fromHex("056162")));
    EXPECT_FALSE(ReadOne(QByteArray::fromHex("FFFEFF0561")));
    EXPECT_FALSE(ReadOne(QByteArray::fromHex("FFFFFFFFFFFF7F41")));
    EXPECT_FALSE(ReadOne(QByteArray::fromHex("FFFEFFFFFFFFFFFFFF41")));
    EXPECT_FALSE(ReadOne(QByteArray::fromHex("FFFF")));
    EXPECT_FALSE(ReadOne(QByteArray()));
    EXPECT_FALSE(ReadOne(QByteArray::fromHex("FFFFFFFFFFFFFF0100000000000000") + "a"));
}

TEST_F(MplFile, VersionOneCountZeroLoadsAndSetsThePlaylist)
{
    const QString path = Write(u"empty.mpl"_s, MakeMplFile(u"klovmplfile"_s, {}));
    m_grid.SetPlaylistEncoding(1);
    ASSERT_TRUE(m_grid.ListSelectDirectory(path, false));
    EXPECT_EQ(m_grid.GetItemCount(), 0);
    EXPECT_EQ(m_grid.PlaylistPath(), path);
    EXPECT_EQ(m_grid.PlaylistFolder(), m_dir.path() + u'/');
    EXPECT_EQ(m_grid.PlaylistEncoding(), 0);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(MplFile, MagicIsComparedAsTextAndExactly)
{
    EXPECT_TRUE(Load(u"u.mpl"_s, MakeMplFile(u"klovmplrev2"_s, {{u"a.mp3"_s, u"/x/"_s, u"1"_s, u"T"_s, u"A"_s}}, true)));
    EXPECT_TRUE(Load(u"n.mpl"_s, MakeMplFile(u"klovmplrev2"_s, {{u"b.mp3"_s, u"/x/"_s, u"2"_s, u"T"_s, u"A"_s}})));
    EXPECT_EQ(m_grid.GetItemCount(), 2);
    const QString playlist = m_grid.PlaylistPath();

    EXPECT_FALSE(Load(u"upper.mpl"_s, MakeMplFile(u"KLOVMPLFILE"_s, {{u"c.mp3"_s, u"/x/"_s}})));
    EXPECT_FALSE(Load(u"text.mpl"_s, "this is not a playlist at all"));
    EXPECT_FALSE(Load(u"nothing.mpl"_s, QByteArray()));
    EXPECT_EQ(m_grid.GetItemCount(), 2);
    EXPECT_EQ(m_grid.PlaylistPath(), playlist);
    EXPECT_EQ(Messages(), QStringList(3, QString::fromUtf16(kInvalidMplFile)));
}

TEST_F(MplFile, RevisionTwoKeepsItsIndexAndVersionOneNumbers)
{
    m_grid.AddSongRecord(u"old.mp3"_s, u"/x/"_s, u"000041"_s, {}, {}, {}, {}, {});
    ASSERT_TRUE(Load(u"v1.mpl"_s, MakeMplFile(u"klovmplfile"_s, {{u"missing1.mp3"_s, m_dir.path() + u'/'},
                                                                 {u"missing2.mp3"_s, m_dir.path() + u'/'},
                                                                 {u"missing3.mp3"_s, m_dir.path() + u'/'}})));
    ASSERT_TRUE(Load(u"v2.mpl"_s, MakeMplFile(u"klovmplrev2"_s, {{u"s.mp3"_s, u"/x/"_s, u"7"_s, u"Song"_s, u"Singer"_s}})));
    EXPECT_EQ(Cells(1), (QStringList{u"000041"_s, u"000042"_s, u"000043"_s, u"000044"_s, u"7"_s}));
    // Files that cannot be analysed still make rows, without title and artist.
    EXPECT_EQ(Cells(2), (QStringList{{}, {}, {}, {}, u"Song"_s}));
    EXPECT_EQ(Cells(3).last(), u"Singer"_s);
    EXPECT_EQ(m_grid.NextIndexNumber(), 45);
}

TEST_F(MplFile, TruncatedFilesKeepTheRowsBeforeAndFail)
{
    QByteArray bytes = MakeMplFile(u"klovmplrev2"_s, {{u"a.mp3"_s, u"/x/"_s, u"1"_s, u"T"_s, u"A"_s},
                                                      {u"b.mp3"_s, u"/x/"_s, u"2"_s, u"Second"_s, u"B"_s}});
    EXPECT_FALSE(Load(u"cut.mpl"_s, bytes.left(bytes.size() - 2)));
    EXPECT_EQ(m_grid.GetItemCount(), 1);
    EXPECT_TRUE(m_grid.PlaylistPath().isEmpty());
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf16(kTruncatedMplFile)});

    // A count of 2^31-1 over one record, and a string claiming far more than the file.
    QByteArray huge = ArchiveString8("klovmplfile") + Int32(0x7FFFFFFF) + ArchiveString8("a.mp3") + ArchiveString8("/x/");
    EXPECT_FALSE(Load(u"huge.mpl"_s, huge));
    EXPECT_EQ(m_grid.GetItemCount(), 2);
    EXPECT_FALSE(Load(u"claim.mpl"_s, ArchiveString8("klovmplfile") + Int32(1) + QByteArray::fromHex("FFFFFFFFFFFF00")));
    EXPECT_FALSE(Load(u"nocount.mpl"_s, ArchiveString8("klovmplfile") + "\x01"));
    EXPECT_EQ(m_grid.GetItemCount(), 2);
}

TEST_F(MplFile, UnreadableFileShowsTheLoadMessage)
{
    EXPECT_FALSE(LoadMplFile(m_grid, Path(u"absent.mpl"_s)));
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf16(kCannotLoadPlaylist)});
}

TEST_F(MplFile, VersionOneNumbersFollowRowsAddedAndRemoved)
{
    QList<QStringList> records;
    for (int i = 0; i < 2000; ++i)
        records.append({u"m%1.mp3"_s.arg(i), u"/x/"_s});
    ASSERT_TRUE(Load(u"v1.mpl"_s, MakeMplFile(u"klovmplfile"_s, records)));
    EXPECT_EQ(m_grid.GetCellText(1999, 1), u"002000"_s);
    m_grid.AddSongRecord(u"s.mp3"_s, u"/x/"_s, u"5000"_s, {}, {}, {}, {}, {});
    EXPECT_EQ(m_grid.NextIndexNumber(), 5001);
    m_grid.RemoveRows({2000});
    EXPECT_EQ(m_grid.NextIndexNumber(), 2001);
}

// A file of empty records takes 5 bytes a record (2 in version 1) while each row holds
// hundreds: a million of them would take about 70 to 190 times the file's size.
TEST_F(MplFile, AMillionEmptyRecordsAreRefusedBeforeAnyRow)
{
    ASSERT_TRUE(Load(u"one.mpl"_s, MakeMplFile(u"klovmplrev2"_s, {{u"a.mp3"_s, u"/x/"_s, u"1"_s, u"T"_s, u"A"_s}})));
    const qint64 heldBefore = m_grid.HeldBytes();
    const QString loadedPlaylist = m_grid.PlaylistPath();
    for (const auto &[magic, strings] : {std::pair{"klovmplrev2", 5}, std::pair{"klovmplfile", 2}}) {
        const QByteArray bytes = EmptyRecords(magic, 1000000, strings);
        EXPECT_FALSE(Load(QString::fromLatin1(magic) + u".mpl"_s, bytes)) << magic;
        EXPECT_EQ(m_grid.GetItemCount(), 1) << magic;
        EXPECT_EQ(m_grid.HeldBytes(), heldBefore) << magic;
        EXPECT_LE(m_grid.HeldBytes(), SMplRowBudget{}.For(bytes.size()));
    }
    EXPECT_EQ(m_grid.PlaylistPath(), loadedPlaylist);
    EXPECT_EQ(Messages(), QStringList(2, QString::fromUtf16(kCannotLoadPlaylist)));
    // What fits the budget still loads: 20,000 empty records are within its fixed part.
    EXPECT_TRUE(Load(u"some.mpl"_s, EmptyRecords("klovmplrev2", 20000, 5)));
    EXPECT_EQ(m_grid.GetItemCount(), 20001);
}

// The budget is checked against what the rows will hold, counted from the strings' lengths
// before any row is made; for revision 2 that is exactly what the rows then hold.
TEST_F(MplFile, TheBudgetIsWhatTheRowsHold)
{
    QList<QStringList> records;
    for (int i = 0; i < 300; ++i)
        records.append({u"Song %1 - Singer.mp3"_s.arg(i), u"D:\\Karaoke\\Disc %1\\"_s.arg(i / 20), u"%1"_s.arg(i, 6, 10, QChar(u'0')),
                        u"Song %1"_s.arg(i), u"Singer"_s});
    records.append({QString(600, u'f'), QString(300, u'p'), QString(200, u'i'), QString(), u"\u00e9t\u00e9"_s});
    for (const bool unicode : {false, true}) {
        const QByteArray bytes = MakeMplFile(u"klovmplrev2"_s, records, unicode);
        CRevItemList measured;
        ASSERT_TRUE(LoadMplFile(measured, Write(u"measure.mpl"_s, bytes)));
        const qint64 held = measured.HeldBytes();
        EXPECT_GE(held, qint64(records.size() * sizeof(_ITEMINFO)));
        // Real playlists stay well inside 16 bytes a byte.
        EXPECT_LE(held, 16 * bytes.size()) << unicode;

        CRevItemList exact;
        EXPECT_TRUE(LoadMplFile(exact, Path(u"measure.mpl"_s), SMplRowBudget{0, held})) << unicode;
        EXPECT_EQ(exact.HeldBytes(), held);
        CRevItemList over;
        EXPECT_FALSE(LoadMplFile(over, Path(u"measure.mpl"_s), SMplRowBudget{0, held - 1})) << unicode;
        EXPECT_EQ(over.GetItemCount(), 0);
    }
    EXPECT_EQ(Messages(), QStringList(2, QString::fromUtf16(kCannotLoadPlaylist)));
}

// Songs of one folder follow each other, and often of one singer: a string that repeats
// the same field of the record before is read once, and the rows share it.
TEST_F(MplFile, ARepeatedStringIsHeldOnce)
{
    const QString folder = u"D:\\Karaoke\\Disc 12\\"_s;
    ASSERT_TRUE(Load(u"runs.mpl"_s, MakeMplFile(u"klovmplrev2"_s, {{u"a.mp3"_s, folder, u"1"_s, u"A"_s, u"Singer"_s},
                                                                  {u"b.mp3"_s, folder, u"2"_s, u"B"_s, u"Singer"_s},
                                                                  {u"c.mp3"_s, u"E:\\"_s, u"3"_s, u"C"_s, u"Singer"_s}})));
    const auto block = [this](int row, int column) {
        const _ITEMINFO &item = m_grid.RowAt(row);
        return column == 0 ? item.szPath.Text().constData() : item.szArtist.Text().constData();
    };
    EXPECT_EQ(block(0, 0), block(1, 0));
    EXPECT_NE(block(1, 0), block(2, 0));
    EXPECT_EQ(block(0, 1), block(2, 1));
    EXPECT_EQ(m_grid.RowAt(1).szPath.Text(), folder);
    // The shared texts are counted with the first row that holds them.
    const qint64 folderBytes = TextHeapBytes(m_grid.RowAt(0).szPath.Text());
    const qint64 singerBytes = TextHeapBytes(m_grid.RowAt(0).szArtist.Text());
    EXPECT_GT(folderBytes, 0);
    EXPECT_EQ(m_grid.HeldBytes(), RowHeapBytes(m_grid.RowAt(0)) + RowHeapBytes(m_grid.RowAt(1)) - folderBytes
                                      - singerBytes + RowHeapBytes(m_grid.RowAt(2)) - singerBytes);
}

// Version-1 rows take title and artist from the song's file, which the playlist cannot
// tell; rows whose tags take them past the budget end the load, and its rows go again.
TEST_F(MplFile, TagsThatPassTheBudgetRefuseTheLoadAndRemoveItsRows)
{
    samplegen::SId3Fields tags;
    tags.title = QString(120, u't');
    tags.artist = QString(120, u'a');
    const QString tagged = Write(u"tagged.mp3"_s, samplegen::MakeMp3File(&tags, true, false, 4));
    QList<QStringList> taggedRecords;
    QList<QStringList> missingRecords;
    for (int i = 0; i < 50; ++i) {
        taggedRecords.append({tagged, QString()});
        missingRecords.append({m_dir.path() + u"/missing.mp3"_s, QString()});
    }
    const SMplRowBudget strict{16, 0};
    ASSERT_TRUE(m_grid.ListSelectDirectory(Write(u"first.mpl"_s, MakeMplFile(u"klovmplfile"_s, missingRecords)), true));
    EXPECT_EQ(m_grid.GetItemCount(), 50);
    EXPECT_LE(m_grid.HeldBytes(), strict.For(QFileInfo(Path(u"first.mpl"_s)).size()));
    const qint64 heldBefore = m_grid.HeldBytes();

    EXPECT_FALSE(LoadMplFile(m_grid, Write(u"tagged.mpl"_s, MakeMplFile(u"klovmplfile"_s, taggedRecords)), strict));
    EXPECT_EQ(m_grid.GetItemCount(), 50);
    EXPECT_EQ(m_grid.HeldBytes(), heldBefore);
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf16(kCannotLoadPlaylist)});
    // Under the usual budget the same file loads, with the tags.
    ASSERT_TRUE(LoadMplFile(m_grid, Path(u"tagged.mpl"_s)));
    EXPECT_EQ(m_grid.GetCellText(99, 2), tags.title);
}
