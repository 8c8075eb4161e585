// "velmora playlist" seen from outside: arguments in, stdout, stderr and exit status out.
#include "TestSupport.h"

#include "samplegen/MplWriter.h"
#include "samplegen/TextEncoding.h"
#include "update/ZipTestArchive.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

struct SRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class PlaylistCli : public ::testing::Test
{
protected:
    SRun Run(QStringList arguments, const QString &locale = u"C.UTF-8"_s)
    {
        arguments.prepend(u"playlist"_s);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, m_config.path());
        environment.insert(u"TMPDIR"_s, m_work.path());
        environment.remove(u"LC_ALL"_s);
        environment.remove(u"LC_CTYPE"_s);
        environment.insert(u"LANG"_s, locale);
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }
    QString Write(const QString &name, const QByteArray &bytes)
    {
        test::WriteBytes(Path(name), bytes);
        return Path(name);
    }
    QStringList Log(const QString &name) const
    {
        return test::DecodeRunLog(test::ReadBytes(QDir(m_data.path()).filePath(name)));
    }
    QString Folder() const { return m_dir.path() + u'/'; }

    QTemporaryDir m_dir;
    QTemporaryDir m_data;
    QTemporaryDir m_config;
    QTemporaryDir m_work;
};

} // namespace

TEST_F(PlaylistCli, UsageErrorsExitTwo)
{
    const QString mpl = Write(u"a.mpl"_s, samplegen::MakeMplFile(u"klovmplfile"_s, {}));
    for (const QStringList &arguments : {QStringList{}, QStringList{u"--format"_s, u"xml"_s, mpl},
                                         QStringList{u"--bogus"_s, mpl}, QStringList{mpl, mpl},
                                         QStringList{Path(u"missing.mpl"_s)}, QStringList{Write(u"x.m3u"_s, "x")}}) {
        const SRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST_F(PlaylistCli, RevisionTwoRowsAsJson)
{
    Write(u"a.mp3"_s, "x");
    const QString mpl = Write(u"list.mpl"_s, samplegen::MakeMplFile(u"klovmplrev2"_s,
        {{u"a.mp3"_s, Folder(), u"7"_s, u"Song"_s, u"Singer"_s}}, true));
    SRun run = Run({u"--format"_s, u"json"_s, u"--data-dir"_s, m_data.path(), mpl});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    QStringList keys = row.keys();
    keys.sort();
    QStringList expected{u"index"_s, u"title"_s, u"artist"_s, u"album"_s, u"track"_s, u"genre"_s, u"year"_s,
                         u"memo"_s, u"volume"_s, u"pitch"_s, u"tempo"_s, u"vocal"_s, u"sync"_s, u"silence"_s,
                         u"onTime"_s, u"offTime"_s, u"duration"_s, u"files"_s, u"folder"_s, u"customer"_s, u"found"_s};
    expected.sort();
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(row[u"index"_s].toString(), u"7"_s);
    EXPECT_EQ(row[u"silence"_s].toString(), u"Off"_s);
    EXPECT_TRUE(row[u"found"_s].toBool());
    const QStringList log = Log(u"directory.log"_s);
    EXPECT_TRUE(log.contains(u"LIST, ListSelectDirectory "_s + mpl));
    EXPECT_TRUE(log.contains(u"LIST, ListSelectDirectory OK"_s));

    QFile::remove(Path(u"a.mp3"_s));
    run = Run({u"--format"_s, u"csv"_s, u"--data-dir"_s, m_data.path(), mpl});
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("index,title,artist,"));
    EXPECT_TRUE(lines[1].endsWith(",no"));
}

TEST_F(PlaylistCli, InvalidPlaylistsExitOneWithTheMessage)
{
    const SRun run = Run({u"--data-dir"_s, m_data.path(), Write(u"bad.mpl"_s, samplegen::MakeMplFile(u"KLOVMPLFILE"_s, {}))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("KLOVMPL : Invalid KLOV *.mpl file"));
    EXPECT_FALSE(Log(u"directory.log"_s).contains(u"LIST, ListSelectDirectory OK"_s));
}

TEST_F(PlaylistCli, EightBitPlaylistsKeepTheirSongNumbers)
{
    Write(u"K0001.mcg"_s, "x");
    const QString list = Write(u"list.txt"_s, "K0001.mcg|1|Paper Lanterns|Amber Coast\r\nK0002.mcg|2|Song|Dash\r\n");
    const SRun run = Run({u"--format"_s, u"json"_s, u"--data-dir"_s, m_data.path(), list});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject()[u"number"_s].toString(), u"1"_s);
    EXPECT_EQ(rows[0].toObject()[u"index"_s].toString(), QString());
    EXPECT_EQ(rows[1].toObject()[u"files"_s].toString(), u"K0002.mcg"_s);
    EXPECT_EQ(rows[1].toObject()[u"folder"_s].toString(), m_dir.path());
    EXPECT_FALSE(rows[1].toObject()[u"found"_s].toBool());
    const QStringList errors = Log(u"error.log"_s);
    EXPECT_TRUE(errors.contains(u"CHECK, MediaFileStatus "_s + m_dir.path() + u" (K0002.mcg), FIle not found"_s))
        << errors.join(u'\n').toStdString();
}

TEST_F(PlaylistCli, SuggestNamesTheLikelyFile)
{
    Write(u"Song.MP3"_s, "x");                          // other case
    Write(u"Cafe\u0301.mp3"_s, "x");                    // decomposed twin
    Write(u"other.cdg"_s, "x");                          // other extension
    Write(u"packed.zip"_s, test::BuildZip({{"packed.mp3", "x"}}));  // inside its package
    QString text = u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s;
    for (const QString &file : {u"song.mp3"_s, u"Caf\u00e9.mp3"_s, u"other.mp3"_s, u"none.mp3"_s, u"packed.mp3"_s})
        text += u"1|T|A|"_s + file + u'|' + Folder() + u"||||\r\n"_s;
    const QString list = Write(u"list.txt"_s, samplegen::Utf16WithMark(text));
    const SRun run = Run({u"--suggest"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, m_data.path(), list});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(rows.size(), 5);
    // A name in another case is the song's file, as on the Windows disk it came from.
    EXPECT_TRUE(rows[0].toObject()[u"found"_s].toBool());
    EXPECT_EQ(rows[0].toObject()[u"suggestion"_s].toString(), QString());
    EXPECT_EQ(rows[1].toObject()[u"suggestion"_s].toString(), Folder() + u"Cafe\u0301.mp3"_s);
    EXPECT_EQ(rows[2].toObject()[u"suggestion"_s].toString(), Folder() + u"other.cdg"_s);
    EXPECT_EQ(rows[3].toObject()[u"suggestion"_s].toString(), QString());
    EXPECT_EQ(rows[4].toObject()[u"suggestion"_s].toString(), Folder() + u"packed.zip:packed.mp3"_s);
}

TEST_F(PlaylistCli, TextColumnsLineUpAsATerminalShowsThem)
{
    Write(u"a.mp3"_s, "x");
    const QString mpl = Write(u"list.mpl"_s, samplegen::MakeMplFile(u"klovmplrev2"_s,
        {{u"a.mp3"_s, Folder(), u"1"_s, u"\ub178\ub798"_s, u"Singer"_s},
         {u"b.mp3"_s, Folder(), u"2"_s, u"abcd"_s, u"Band"_s}}, true));
    const SRun run = Run({u"--data-dir"_s, m_data.path(), mpl});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(u"Index  Title  Artist"_s)) << lines[0].toStdString();
    // The two wide characters take four columns, like "abcd".
    EXPECT_EQ(lines[1].indexOf(u"Singer"_s) + 2, lines[2].indexOf(u"Band"_s));
    EXPECT_TRUE(lines[1].endsWith(u"yes"_s));
    EXPECT_TRUE(lines[2].endsWith(u"MISSING"_s));
}

// Playlists written on Windows name drive K: and the songs' names in another case than a DOS
// disc stored them; with no Drives setting, they are found below the playlist's own folder.
TEST_F(PlaylistCli, WindowsPlaylistsFindTheirSongsInAnyCase)
{
    Write(u"Juke/_Songs/00001.MCG"_s, "x");
    Write(u"Juke/_Songs/00002.CDG"_s, "x");
    Write(u"Juke/_Songs/00002.MP3"_s, "x");
    const QString songs = u"K:\\Juke\\_Songs\\"_s;
    const QString text = Write(u"Lists/list.txt"_s, samplegen::Utf16WithMark(
        u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"
        u"1|One|A|00001.mcg|"_s + songs + u"||||\r\n"_s));
    const QString mpl = Write(u"Lists/list.mpl"_s, samplegen::MakeMplFile(u"klovmplrev2"_s,
        {{u"00002.cdg;00002.mp3"_s, songs, u"2"_s, u"Two"_s, u"B"_s}}, true));
    for (const QString &playlist : {text, mpl}) {
        const SRun run = Run({u"--format"_s, u"json"_s, u"--data-dir"_s, m_data.path(), playlist});
        EXPECT_EQ(run.exitCode, 0) << playlist.toStdString() << run.out.toStdString();
        const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_TRUE(rows[0].toObject()[u"found"_s].toBool());
        EXPECT_EQ(rows[0].toObject()[u"folder"_s].toString(), Folder() + u"Juke/_Songs/"_s);
    }
}

// 8-bit playlists of Korean systems: the code page from the option, the setting as a user
// writes it, or the user's locale.
TEST_F(PlaylistCli, EightBitPlaylistsFollowTheCodePageAskedFor)
{
    const QString list = Write(u"Korean.txt"_s, QByteArrayLiteral("00001|\xB3\xEB\xB7\xA1|\xB0\xA1\xBC\xF6\r\n"));
    const auto title = [&](const SRun &run) {
        return QJsonDocument::fromJson(run.out).array().at(0).toObject()[u"title"_s].toString();
    };
    const QStringList json{u"--format"_s, u"json"_s, u"--data-dir"_s, m_data.path()};
    EXPECT_EQ(title(Run(json + QStringList{list})), u"\u00b3\u00eb\u00b7\u00a1"_s); // Western by default
    EXPECT_EQ(title(Run(json + QStringList{u"--ansi-code-page"_s, u"949"_s, list})), u"\ub178\ub798"_s);
    EXPECT_EQ(title(Run(json + QStringList{list}, u"ko_KR.UTF-8"_s)), u"\ub178\ub798"_s);
    test::WriteBytes(QDir(m_config.path()).filePath(u"Klovenix/Velmora.conf"_s), "[General]\nAnsiCodePage=949\n");
    EXPECT_EQ(title(Run(json + QStringList{list})), u"\ub178\ub798"_s);
    EXPECT_EQ(Run(json + QStringList{u"--ansi-code-page"_s, u"1234"_s, list}).exitCode, 2);
}
