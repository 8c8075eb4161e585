#include "playlist/PlaylistFixture.h"

#include "inspect/WorkFolder.h"
#include "platform/CodePage.h"
#include "platform/Settings.h"
#include "playlist/Crc32Dynamic.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/PlaylistLayout.h"
#include "samplegen/SampleLibrary.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

const QString kRecordHeader = u"; Header record: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s;
// Two fields, so a record holds two "|".
const QString kShortHeader = u"; Header record: Number, Title.\r\n"_s;

class KlovPlaylist : public test::CPlaylistFixture
{
protected:
    // Converts and returns the cache file's lines; count and cache path are kept.
    QStringList Convert(const QString &source)
    {
        m_count = ConvertKlovPlaylist(source, m_cachePath);
        return ReadTextLines(m_cachePath);
    }
    static int StoredCount(const QString &cachePath)
    {
        return OpenSettings()->value(u"Juke/"_s + cachePath.section(u'/', -1)).toInt();
    }
    QStringList Read(const QString &source)
    {
        QStringList lines;
        m_read = ReadKlovPlaylist(source, lines);
        return lines;
    }

    int m_count = -1;
    QString m_cachePath;
    bool m_read = false;
};

} // namespace

TEST_F(KlovPlaylist, BarListLineBecomesUniformSongLine)
{
    const QString source = Write(u"bar.txt"_s, "; my list\r\n00123|My Song|Singer\r\n");
    const QString folder = m_dir.path();
    EXPECT_EQ(Convert(source), QStringList{u"00123|My Song|Singer|00123.mcg|"_s + folder});
    EXPECT_EQ(m_count, 1);

    // The cache: named after the source's CRC-32 in the LoadJuke work folder, UTF-16 with
    // mark, every line ended by CR LF, its line count in the settings.
    quint32 crc = 0;
    ASSERT_TRUE(CCrc32Dynamic::FileCrc32(source, crc));
    EXPECT_EQ(m_cachePath, TempWorkPath(u"LoadJuke/"_s) + QString::number(crc, 16).rightJustified(8, u'0') + u".txt"_s);
    EXPECT_TRUE(m_cachePath.startsWith(m_work.path()));
    const QByteArray bytes = test::ReadBytes(m_cachePath);
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_TRUE(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
    EXPECT_EQ(StoredCount(m_cachePath), 1);

    // Once a "_Songs" folder is there (any case), the songs are looked for in it; 8-bit
    // lists are converted anew every time, since their lines depend on the disk.
    QDir(folder).mkdir(u"_songs"_s);
    EXPECT_EQ(Convert(source), QStringList{u"00123|My Song|Singer|00123.mcg|"_s + folder + u"/_songs"_s});
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(KlovPlaylist, EveryEightBitLayout)
{
    const QString folder = m_dir.path();
    const struct
    {
        const char *name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"tab.txt", "1\t\"Quoted Title\"\t\"Quoted Artist\"\r\n2\tPlain \"Title\"\t Artist \r\n",
         {u"1|Quoted Title|Quoted Artist|1.mcg|"_s + folder, u"2|Plain \"Title\"|Artist|2.mcg|"_s + folder}},
        {"hash.txt", "00007#Seven Seas#Band\r\n", {u"00007|Seven Seas|Band|00007.mcg|"_s + folder}},
        {"full.txt", "a.cdg;a.mp3|5|Title|Artist\r\n", {u"5|Title|Artist|a.cdg;a.mp3|"_s + folder}},
        {"fixed.txt",
         QByteArray("00042") + QByteArray("Fixed Width Song").leftJustified(39, ' ') + "Column Band ;note\r\n",
         {u"00042|Fixed Width Song|Column Band|00042.cdg|"_s + folder}},
        // A "|" inside a tab list's title would shift the fields of the song line.
        {"tabbar.txt", "3\tThis | That\tBand\r\n", {u"3|This \u00A6 That|Band|3.mcg|"_s + folder}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Convert(Write(QString::fromLatin1(c.name), c.bytes)), c.lines) << c.name;
        EXPECT_EQ(m_count, c.lines.size()) << c.name;
        EXPECT_EQ(Read(Path(QString::fromLatin1(c.name))), c.lines) << c.name;
    }
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(KlovPlaylist, FirstNumberedLineDecidesTheLayout)
{
    const QString folder = m_dir.path();
    // The heading has a "#" near its start, but the first numbered line is a bar list.
    const QString source = Write(u"heading.txt"_s, "Title # list of songs\r\n12|Song|Band\r\n");
    EXPECT_EQ(Convert(source), QStringList({u"Title # list of songs|||Title # list of songs.mcg|"_s + folder,
                                            u"12|Song|Band|12.mcg|"_s + folder}));

    // Without any numbered line the last data line decides; short lines are no data.
    const QString names = Write(u"names.txt"_s, "Song A#Band\r\nSong B|Band\r\nab\r\n; end\r\n");
    EXPECT_EQ(Convert(names), QStringList({u"Song A#Band|||Song A#Band.mcg|"_s + folder,
                                          u"Song B|Band||Song B.mcg|"_s + folder}));
}

TEST_F(KlovPlaylist, JukeboxSongListTakesFilesFromNumberedFolders)
{
    Write(u"Songs/zr002000/2345.cdg"_s, "g");
    Write(u"Songs/zr002000/2345.mp3"_s, "a");
    Write(u"Songs/zr002000/2999.mp3"_s, "a");
    const QString source = Write(u"Songs/SONGLIST.TXT"_s,
                                 "2345|Numbered Song|Band\r\n2346|No Files|Nobody\r\n"
                                 "2345|Listed Twice|Band\r\n2999|Last|Band\r\n12|Elsewhere|Band\r\n");
    const QString songs = Path(u"Songs"_s);
    EXPECT_EQ(Convert(source), QStringList({u"2345|Numbered Song|Band|2345.cdg;2345.mp3|"_s + songs + u"/zr002000/"_s,
                                            u"2346|No Files|Nobody||"_s + songs + u"/zr002000/"_s,
                                            u"2345|Listed Twice|Band||"_s + songs + u"/zr002000/"_s,
                                            u"2999|Last|Band|2999.mp3|"_s + songs + u"/zr002000/"_s,
                                            u"12|Elsewhere|Band||"_s + songs + u"/ZR000000/"_s}));
    // The in-memory reader does not know this layout: the same lines are a bar list.
    EXPECT_EQ(Read(source).first(), u"2345|Numbered Song|Band|2345.mcg|"_s + songs);

    EXPECT_TRUE(IsJukeboxSongListPath(u"C:\\Karaoke\\songs\\songlist.txt"_s));
    EXPECT_TRUE(IsJukeboxSongListPath(u"/k/SONGS/Songlist.TXT"_s));
    EXPECT_FALSE(IsJukeboxSongListPath(u"/k/Songs/Songlist.txt.bak"_s));
    EXPECT_FALSE(IsJukeboxSongListPath(u"/k/Songlist.txt"_s));
}

TEST_F(KlovPlaylist, UnicodeRecordsJoinTheirContinuationLines)
{
    const QString source = Write(u"juke.txt"_s,
                                 Utf16(u"; made by hand, edited twice\r\n"_s + kRecordHeader
                                       + u"1|One|Band|1.mp3||Album|[1,2](m)c|1-Pop-2000|\r\n"
                                         u"; a comment between records\r\n"
                                         u"2|Two|Band|2.mp3|  \r\n"
                                         u"|Album|[]|2-Rock-2001|\r\n"
                                         u"3|Three\r\n"
                                         u"|Band|3.mp3|\r\n"
                                         u"|Album||3-Jazz-2002|\r\n"
                                         u"ab\r\n"
                                         u"4|\u00e9\u00e8|\uac00\uc218|4.mp3|||||\r\n"_s));
    const QStringList expected{u"1|One|Band|1.mp3||Album|[1,2](m)c|1-Pop-2000|"_s,
                               u"2|Two|Band|2.mp3||Album|[]|2-Rock-2001|"_s,
                               u"3|Three|Band|3.mp3||Album||3-Jazz-2002|"_s,
                               u"4|\u00e9\u00e8|\uac00\uc218|4.mp3|||||"_s};
    EXPECT_EQ(Convert(source), expected);
    EXPECT_EQ(m_count, 4);
    EXPECT_EQ(StoredCount(m_cachePath), 4);
    EXPECT_EQ(Read(source), expected);
    EXPECT_TRUE(m_read);

    // A UTF-8 source with mark and a "playlist" header is read the same way.
    const QString utf8 = Write(u"utf8.txt"_s, "\xEF\xBB\xBF; HEADER Playlist: Number, Title, Artist.\r\n"
                                              "7|Caf\xC3\xA9|Trio|\r\n");
    EXPECT_EQ(Convert(utf8), QStringList{u"7|Caf\u00e9|Trio|"_s});
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(KlovPlaylist, InMemoryReaderSkipsRecordsThatStartWithoutAField)
{
    const QString source = Write(u"notes.txt"_s, Utf16(u"; Header record: A, B.\r\n"
                                                       u"a note without fields\r\n"
                                                       u"1|One|\r\n"_s));
    EXPECT_EQ(Read(source), QStringList{u"1|One|"_s});
    // The converter writes every data line, and the note takes the next line along.
    EXPECT_EQ(Convert(source), QStringList{u"a note without fields1|One|"_s});
}

TEST_F(KlovPlaylist, SecondConversionOfUnchangedUnicodeSourceReadsNothing)
{
    const QString source = Write(u"juke.txt"_s, Utf16(kShortHeader + u"1|One|\r\n2|Two|\r\n"_s));
    Convert(source);
    ASSERT_EQ(m_count, 2);
    const QString firstCache = m_cachePath;
    // Changed behind the converter's back: a second conversion must not rewrite it.
    test::WriteBytes(firstCache, "kept");
    Convert(source);
    EXPECT_EQ(m_count, 2);
    EXPECT_EQ(m_cachePath, firstCache);
    EXPECT_EQ(test::ReadBytes(firstCache), "kept");

    // Without its cache file the source is converted again.
    QFile::remove(firstCache);
    EXPECT_EQ(Convert(source).size(), 2);
    EXPECT_EQ(m_count, 2);

    // Another content is another cache file.
    const QString changed = Write(u"juke.txt"_s, Utf16(kShortHeader + u"1|One|\r\n"_s));
    Convert(changed);
    EXPECT_EQ(m_count, 1);
    EXPECT_NE(m_cachePath, firstCache);
}

TEST_F(KlovPlaylist, NamingFileGivesOneAndWritesNothing)
{
    const QString source = Write(u"names.txt"_s, Utf16(u"; list of names\r\n; Header Naming: Slot, Name.\r\n1|Bar|\r\n"_s));
    EXPECT_TRUE(Convert(source).isEmpty());
    EXPECT_EQ(m_count, 1);
    EXPECT_TRUE(QFile::exists(m_cachePath));
    EXPECT_EQ(QFileInfo(m_cachePath).size(), 0);
    EXPECT_EQ(StoredCount(m_cachePath), 0);

    EXPECT_TRUE(Read(source).isEmpty());
    EXPECT_TRUE(m_read);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(KlovPlaylist, UnicodeSourceWithoutUsableHeaderIsRefused)
{
    const QByteArray sources[] = {
        Utf16(u"1|One|Band|\r\n"_s),                                 // data before any header
        Utf16(u"\r\n"_s + kRecordHeader + u"1|One|\r\n"_s),          // a blank line is no comment
        Utf16(u"; header: Number, Title.\r\n1|One|\r\n"_s),          // neither record nor playlist
        Utf16(u"; only a comment\r\n"_s),                            // the end before a header
        QByteArray("\xFF\xFE", 2),                                   // nothing but the mark
        QByteArray("\xFF\xFE; Header record: A.\r\n1|x|\r\n"),       // 8-bit text behind a UTF-16 mark
    };
    int index = 0;
    for (const QByteArray &bytes : sources) {
        m_prompt.m_messages.clear();
        const QString source = Write(u"bad%1.txt"_s.arg(++index), bytes);
        EXPECT_TRUE(Convert(source).isEmpty()) << index;
        EXPECT_EQ(m_count, 0) << index;
        EXPECT_EQ(StoredCount(m_cachePath), 0) << index;
        EXPECT_TRUE(Read(source).isEmpty()) << index;
        EXPECT_FALSE(m_read) << index;
        EXPECT_EQ(Messages(), QStringList(2, u"Invalid KLOV Unicode *.txt file"_s)) << index;
    }
}

TEST_F(KlovPlaylist, EightBitSourceOfNoLayoutIsRefused)
{
    const QByteArray sources[] = {
        QByteArray("just some words\r\n"),
        QByteArray(),
        QByteArray("; only a comment\r\nab\r\n"),
        QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x0B\x0C\x0E\x0F", 12),
    };
    int index = 0;
    for (const QByteArray &bytes : sources) {
        m_prompt.m_messages.clear();
        const QString source = Write(u"plain%1.txt"_s.arg(++index), bytes);
        Convert(source);
        EXPECT_EQ(m_count, 0) << index;
        EXPECT_EQ(StoredCount(m_cachePath), 0) << index;
        Read(source);
        EXPECT_FALSE(m_read) << index;
        EXPECT_EQ(Messages(), QStringList(2, u"Invalid KLOV *.txt file"_s)) << index;
    }
}

TEST_F(KlovPlaylist, MissingOrOversizedSourceCannotBeLoaded)
{
    Convert(Path(u"missing.txt"_s));
    EXPECT_EQ(m_count, 0);
    EXPECT_TRUE(m_cachePath.isEmpty());
    Read(Path(u"missing.txt"_s));
    EXPECT_FALSE(m_read);

    // 50 MB, larger than any player writes: refused before a line is read.
    QFile huge(Path(u"huge.txt"_s));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.write("1|Song|Band\r\n") > 0);
    ASSERT_TRUE(huge.resize(50 * 1024 * 1024));
    ASSERT_GT(huge.size(), kMaxPlaylistBytes);
    huge.close();
    Convert(huge.fileName());
    EXPECT_EQ(m_count, 0);
    EXPECT_EQ(StoredCount(m_cachePath), 0);
    Read(huge.fileName());
    EXPECT_FALSE(m_read);
    EXPECT_EQ(Messages(), QStringList(4, u"Cannot load PlayList !!!"_s));
}

TEST_F(KlovPlaylist, CacheThatCannotBeCreatedStoresNoCount)
{
    // A file where the cache folder belongs.
    test::WriteBytes(TempWorkPath(u"LoadJuke"_s), "in the way");
    ASSERT_TRUE(QFileInfo(TempWorkPath(u"LoadJuke"_s)).isFile());
    for (const QByteArray &bytes : {QByteArray("1|Song|Band\r\n"), Utf16(kRecordHeader + u"1|One|||||||\r\n"_s)}) {
        m_prompt.m_messages.clear();
        const QString source = Write(u"list.txt"_s, bytes);
        EXPECT_TRUE(Convert(source).isEmpty());
        EXPECT_EQ(m_count, 0);
        EXPECT_EQ(StoredCount(m_cachePath), 0);
        EXPECT_EQ(Messages(), QStringList{u"Error Open PlayList !!!"_s});
    }
}

TEST_F(KlovPlaylist, ReconversionThatFailsLeavesNoStaleCount)
{
    const QString source = Write(u"juke.txt"_s, Utf16(kRecordHeader + u"1|One|||||||\r\n"_s));
    Convert(source);
    ASSERT_EQ(StoredCount(m_cachePath), 1);
    const QString cachePath = m_cachePath;
    // The cache file goes and a folder takes its name: the new conversion fails.
    QFile::remove(cachePath);
    ASSERT_TRUE(QDir().mkpath(cachePath));
    Convert(source);
    EXPECT_EQ(m_count, 0);
    EXPECT_EQ(StoredCount(cachePath), 0);
    EXPECT_EQ(Messages(), QStringList{u"Error Open PlayList !!!"_s});
}

TEST_F(KlovPlaylist, HostileContentEndsCleanly)
{
    // A megabyte title comes through whole.
    const QString longTitle(1024 * 1024, u'x');
    Convert(Write(u"long.txt"_s, "1|" + longTitle.toLatin1() + "|Band\r\n2|Short|Band\r\n"));
    ASSERT_EQ(m_count, 2);
    EXPECT_EQ(ReadTextLines(m_cachePath).at(0).size(), longTitle.size() + 14 + m_dir.path().size());

    // A header promising 9,999 fields: the records never complete and end with the file.
    QString fields;
    for (int i = 0; i < 9999; ++i)
        fields += u"F,"_s;
    const QStringList joined = Convert(Write(u"wide.txt"_s, Utf16(u"; header record: "_s + fields + u"\r\n1|a|\r\n2|b|\r\n"_s)));
    EXPECT_EQ(joined, QStringList{u"1|a|2|b|"_s});

    // A header and no records: nothing to list, nothing stored.
    EXPECT_TRUE(Convert(Write(u"empty.txt"_s, Utf16(kRecordHeader))).isEmpty());
    EXPECT_EQ(m_count, 0);
    EXPECT_EQ(StoredCount(m_cachePath), 0);

    // Invalid UTF-8 after a UTF-8 mark reads as replacement characters.
    const QStringList mended = Convert(Write(u"badutf8.txt"_s, "\xEF\xBB\xBF; header record: A, B.\r\n1|\xC3\x28\xFF|\r\n"));
    ASSERT_EQ(mended.size(), 1);
    EXPECT_TRUE(mended.first().startsWith(u"1|\uFFFD"_s));

    // Binary junk: whatever the layout it seems to have, every song line is counted.
    QByteArray junk;
    for (int i = 0; i < 64 * 1024; ++i)
        junk.append(char((i * 7919 + i / 251) & 0xFF));
    const QStringList junkLines = Convert(Write(u"junk.txt"_s, junk));
    EXPECT_EQ(junkLines.size(), m_count);
    EXPECT_EQ(Messages(), QStringList());
}

TEST_F(KlovPlaylist, KoreanListInItsCodePage)
{
    const int previous = AnsiCodePage();
    SetAnsiCodePage(949);
    const QStringList lines = Read(Write(u"korean.txt"_s, "00001|\xB3\xEB\xB7\xA1|\xB0\xA1\xBC\xF6\r\n"));
    SetAnsiCodePage(previous);
    EXPECT_EQ(lines, QStringList{u"00001|\ub178\ub798|\uac00\uc218|00001.mcg|"_s + m_dir.path()});
}

TEST_F(KlovPlaylist, SampleLibraryPlaylists)
{
    QString error;
    ASSERT_TRUE(samplegen::WriteSampleLibrary(m_dir.path(), &error)) << qPrintable(error);
    const QString lists = Path(u"Playlists"_s);
    const struct
    {
        const char16_t *name;
        QString firstLine;
        int count;
    } cases[] = {
        {u"Tab List.txt", u"00001|Paper Boats|Amber Coast|00001.mcg|"_s + lists, 2},
        {u"Bar List.txt", u"00123|My Song|Singer|00123.mcg|"_s + lists, 2},
        {u"Full Record List.txt", u"1|Paper Lanterns|Amber Coast|K0001.mcg|"_s + lists, 2},
        {u"Hash List.txt", u"00007|Seven Seas|Jukebox Band|00007.mcg|"_s + lists, 2},
        {u"Fixed Columns.txt", u"00042|Fixed Width Song|Column Band|00042.cdg|"_s + lists, 2},
        {u"Songs/Songlist.txt", u"2345|Numbered Song|Jukebox Band|2345.cdg;2345.mp3|"_s + lists + u"/Songs/ZR002000/"_s, 2},
        {u"Korean.txt", QString(), 1},
        {u"Unicode Playlist.txt", u"00005|\ud55c\uad6d \ub178\ub798|\uac00\uc218|"_s, 1},
        {u"Naming.txt", QString(), 1},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        const QStringList lines = Convert(QDir(lists).filePath(name));
        EXPECT_EQ(m_count, c.count) << qPrintable(name);
        if (!c.firstLine.isEmpty()) {
            EXPECT_EQ(lines.value(0), c.firstLine) << qPrintable(name);
        }
    }
    EXPECT_EQ(Convert(Path(u"Playlists/Bar List.txt"_s)).value(1), u"00124|Caf\u00e9 Soleil|Nina Castell|00124.mcg|"_s + lists);
    const QStringList juke = Convert(Path(u"Juke/juke.txt"_s));
    ASSERT_EQ(juke.size(), 3);
    EXPECT_EQ(juke.at(1), u"00002|Midnight Ferry|The Velvet Hours|00002.cdg;00002.mp3||Night Crossing|"
                          u"[60,0,0,0,0,-9,0,0,242]()|7-Rock-1998|"_s);
    EXPECT_TRUE(Messages().isEmpty());
}

// Another local user prepares the shared temporary folder before we load a playlist: a link
// at the cache's old fixed place to a file of ours, and a folder of theirs at the name of our
// work folder holding forged rows. Nothing of theirs is read or written.
TEST_F(KlovPlaylist, OtherUsersCannotSteerTheCache)
{
    ::chmod(QFile::encodeName(m_work.path()).constData(), 01777);
    const QString source = Write(u"juke.txt"_s, Utf16(kRecordHeader + u"1|One|||||||\r\n2|Two|||||||\r\n"_s));
    quint32 crc = 0;
    ASSERT_TRUE(CCrc32Dynamic::FileCrc32(source, crc));
    const QString cacheName = QString::number(crc, 16).rightJustified(8, u'0') + u".txt"_s;
    const QString victim = Write(u"victim.txt"_s, "precious");
    const QString oldCache = m_work.filePath(u"{1B163BAA-6946-4e0f-AF36-DC66D906F2EA}/LoadJuke/"_s);
    ASSERT_TRUE(QDir().mkpath(oldCache));
    ASSERT_TRUE(QFile::link(victim, oldCache + cacheName));
    const QString theirs = m_work.filePath(u"velmora-"_s + QString::number(::geteuid()));
    test::WriteBytes(theirs + u"/LoadJuke/"_s + cacheName, Utf16(u"9|Forged|||||||\r\n"_s));
    ::chmod(QFile::encodeName(theirs).constData(), 0777);
    if (::geteuid() == 0) {
        ::chmod(QFile::encodeName(theirs).constData(), 0700);
        ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);
    }

    const QStringList lines{u"1|One|||||||"_s, u"2|Two|||||||"_s};
    EXPECT_EQ(Convert(source), lines);
    EXPECT_EQ(m_count, 2);
    EXPECT_EQ(Convert(source), lines); // the stored count now takes the cache as it is
    EXPECT_FALSE(m_cachePath.startsWith(theirs + u'/'));
    EXPECT_FALSE(m_cachePath.startsWith(oldCache));
    EXPECT_FALSE(QFileInfo(m_cachePath).isSymLink());
    EXPECT_EQ(test::ReadBytes(victim), "precious");
    EXPECT_EQ(ReadTextLines(theirs + u"/LoadJuke/"_s + cacheName), QStringList{u"9|Forged|||||||"_s});
    EXPECT_TRUE(Messages().isEmpty());
}
