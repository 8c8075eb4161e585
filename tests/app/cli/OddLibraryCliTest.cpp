// A library holding everything that went wrong on libraries copied from Windows machines,
// NAS shares, DOS discs and USB sticks, checked through the command line: each run ends in
// bounded time, and the rows and both run logs are byte-identical whatever the engine and
// the number of jobs.
#include "TestSupport.h"

#include "inspect/MediaInfoLibrary.h"
#include "platform/NativeName.h"
#include "platform/OpenFile.h"
#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/MplWriter.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/TextEncoding.h"
#include "update/ZipTestArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

constexpr int kBoundMs = 30000;

struct SOutcome
{
    int exitCode = -1;
    qint64 elapsedMs = 0;
    QByteArray rows;
    QByteArray directoryLog;
    QByteArray errorLog;
};

QByteArray TaggedMp3(const QString &title)
{
    const samplegen::SId3Fields tags{title, u"Singer"_s, u"Album"_s, 1999, 2, u"Pop"_s, 13, {}};
    return samplegen::MakeMp3File(&tags, true, true, samplegen::Mp3FramesForSeconds(2));
}

class COddLibraryCli : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_library = new QTemporaryDir;
        s_pipe = new test::CStuckPipe(s_library->filePath(u"Stuck.mp3"_s), kBoundMs);
        Build();
    }
    static void TearDownTestSuite()
    {
        delete s_pipe;
        delete s_library;
        s_pipe = nullptr;
        s_library = nullptr;
    }

    static QString Root() { return s_library->path(); }
    static QString Path(const QString &name) { return s_library->filePath(name); }
    static void Add(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(Path(name).left(Path(name).lastIndexOf(u'/')));
        const auto file = OpenFileForWrite(Path(name), true, true);
        ASSERT_NE(file, nullptr) << name.toStdString();
        file->write(bytes);
    }
    static QString DeepFolder()
    {
        QString deep;
        for (int i = 0; deep.size() <= 300; ++i)
            deep += u"/a-rather-long-folder-name-from-a-nas-share-%1"_s.arg(i);
        return Root() + deep;
    }

    static void Build()
    {
        const QByteArray graphics = samplegen::MakeCdgPackets(2);
        Add(u"Rock; Roll.mp3"_s, TaggedMp3(u"Rock and Roll"_s));
        Add(u"Rock; Roll.cdg"_s, graphics);
        Add(u";"_s, TaggedMp3(u"Semicolon"_s));
        Add(u"Song.cdg"_s, graphics);
        Add(u"song.cdg"_s, graphics);
        Add(u"Song.mp3"_s, TaggedMp3(u"Song"_s));
        Add(u"Zed.mp3"_s, TaggedMp3(u"Zed"_s));
        Add(u"Vol.mp3"_s, TaggedMp3(u"Healthy"_s));
        Add(u"Vol.2/README"_s, "notes");
        QDir().mkpath(Path(u"D.cdg"_s));
        Add(u"D.mp3"_s, "broken");
        Add(DecodeNativeName("Caf\xE9.mp3"), TaggedMp3(u"Latin One"_s));
        Add(DecodeNativeName("Caf\xE9.cdg"), graphics);
        Add(u"Caf\u00e9 \ud55c.mp3"_s, TaggedMp3(u"Caf\u00e9 \ud55c\uad6d"_s));
        Add(u"Packed.zip"_s, test::BuildZip({{"Packed.mp3", TaggedMp3(u"Packed"_s), true}, {"Packed.cdg", graphics}}));
        // Packages only the unzip tool reads: each goes through its own fallback run.
        Add(u"Wide; Packed.zip"_s, test::BuildZip({test::Deflate64Member("Wide.mp3", TaggedMp3(u"Wide"_s)),
                                                  test::Deflate64Member("Wide.cdg", graphics)}));
        if (const auto bzipped = test::Bzip2Member("Caf\xc3\xa9 Bz.mp3", TaggedMp3(u"Bzipped"_s)))
            Add(u"Bz.zip"_s, test::BuildZip({*bzipped, {"Caf\xc3\xa9 Bz.cdg", graphics}}));
        Add(DeepFolder().mid(Root().size() + 1) + u"/Deep Song.mp3"_s, TaggedMp3(u"Deep"_s));
        Add(DeepFolder().mid(Root().size() + 1) + u"/Deep Song.cdg"_s, graphics);
        // A DOS disc's songs, named in lower case by playlists written on Windows.
        Add(u"DOS/00001.MCG"_s, "x");
        Add(u"DOS/00002.CDG"_s, graphics);
        Add(u"DOS/00002.MP3"_s, TaggedMp3(u"Two"_s));
        Add(u"Lists/list.txt"_s, samplegen::Utf16WithMark(
            u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"
            u"1|One|A|00001.mcg|K:\\DOS\\||||\r\n"_s));
        Add(u"Lists/list.mpl"_s, samplegen::MakeMplFile(u"klovmplrev2"_s,
            {{u"00002.cdg;00002.mp3"_s, u"K:\\DOS\\"_s, u"2"_s, u"Two"_s, u"B"_s}}, true));
    }

    static SOutcome Check(const QString &folder, QStringList arguments, const QString &locale = u"C.UTF-8"_s)
    {
        QTemporaryDir data;
        QTemporaryDir config;
        arguments = QStringList{u"check"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, data.path()} + arguments
                  + QStringList{folder};
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
        environment.remove(u"LC_ALL"_s);
        environment.remove(u"LC_CTYPE"_s);
        environment.insert(u"LANG"_s, locale);
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
        if (!process.waitForFinished(kBoundMs)) {
            process.kill();
            process.waitForFinished();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, clock.elapsed(),
                process.readAllStandardOutput(), test::ReadBytes(QDir(data.path()).filePath(u"directory.log"_s)),
                test::ReadBytes(QDir(data.path()).filePath(u"error.log"_s))};
    }

    static void ExpectSame(const SOutcome &a, const SOutcome &b)
    {
        EXPECT_EQ(a.exitCode, b.exitCode);
        EXPECT_EQ(a.rows, b.rows);
        EXPECT_EQ(a.directoryLog, b.directoryLog);
        EXPECT_EQ(a.errorLog, b.errorLog);
    }

    static bool IsValidUtf16Log(const QByteArray &bytes)
    {
        return !bytes.isEmpty()
            && QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2).isValidUtf16();
    }

    static QJsonObject RowWithPath(const SOutcome &outcome, const QString &path)
    {
        for (const QJsonValue &row : QJsonDocument::fromJson(outcome.rows).array()) {
            if (row.toObject()[u"path"_s].toString() == path)
                return row.toObject();
        }
        ADD_FAILURE() << "no row for " << path.toStdString();
        return {};
    }

    static QTemporaryDir *s_library;
    static test::CStuckPipe *s_pipe;
};

QTemporaryDir *COddLibraryCli::s_library = nullptr;
test::CStuckPipe *COddLibraryCli::s_pipe = nullptr;

} // namespace

TEST_F(COddLibraryCli, MediaDetailsCheckIsBoundedAndTheSameForAnyEngineAndJobs)
{
    if (QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty())
        GTEST_SKIP() << "mediainfo is needed";
    const SOutcome serial = Check(Root(), {u"--subfolders"_s, u"--jobs"_s, u"1"_s});
    EXPECT_LT(serial.elapsedMs, kBoundMs);
    EXPECT_EQ(serial.exitCode, 1); // the pipe, README and D.mp3 are problems
    EXPECT_FALSE(s_pipe->Rescued()) << "the check waited for the pipe";
    EXPECT_TRUE(IsValidUtf16Log(serial.directoryLog));
    EXPECT_TRUE(IsValidUtf16Log(serial.errorLog));

    EXPECT_EQ(RowWithPath(serial, Path(u"Stuck.mp3"_s))[u"mark"_s].toInt(), 3);
    EXPECT_EQ(RowWithPath(serial, Path(u"Vol.2/README"_s))[u"mark"_s].toInt(), 3);
    EXPECT_EQ(RowWithPath(serial, Path(u"Vol.mp3"_s))[u"mark"_s].toInt(), 0);
    EXPECT_EQ(RowWithPath(serial, Path(u"D.mp3"_s))[u"mark"_s].toInt(), 3);
    EXPECT_EQ(RowWithPath(serial, Path(u"Rock; Roll.mp3"_s))[u"mark"_s].toInt(), 0);
    EXPECT_EQ(RowWithPath(serial, DeepFolder() + u"/Deep Song.mp3"_s)[u"mark"_s].toInt(), 0);
    const QJsonObject latin = RowWithPath(serial, Path(u"Caf\\xE9.mp3"_s));
    EXPECT_EQ(latin[u"mark"_s].toInt(), 0);
    EXPECT_EQ(latin[u"fileName"_s].toString(), u"Caf\\xE9.mp3"_s);
    EXPECT_GT(latin[u"duration"_s].toInt(), 0);
    // Described by the media-information tool (or library) like any other MP3.
    EXPECT_TRUE(latin[u"title"_s].toString().startsWith(u"MPEG Audio"_s)) << latin[u"title"_s].toString().toStdString();

    const QJsonObject unicode = RowWithPath(serial, Path(u"Caf\u00e9 \ud55c.mp3"_s));
    EXPECT_TRUE(unicode[u"title"_s].toString().startsWith(u"MPEG Audio"_s)) << unicode[u"title"_s].toString().toStdString();

    ExpectSame(serial, Check(Root(), {u"--subfolders"_s, u"--jobs"_s, u"4"_s}));
    // A user's locale that is not UTF-8 changes nothing either.
    ExpectSame(serial, Check(Root(), {u"--subfolders"_s, u"--jobs"_s, u"4"_s}, u"C"_s));
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed for the library engine";
    ExpectSame(serial, Check(Root(), {u"--subfolders"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"1"_s}));
    ExpectSame(serial, Check(Root(), {u"--subfolders"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"4"_s}));
    ExpectSame(serial, Check(Root(), {u"--subfolders"_s, u"--engine"_s, u"library"_s}, u"C"_s));
    EXPECT_FALSE(s_pipe->Rescued());
}

TEST_F(COddLibraryCli, SongChecksAreBoundedAndTheSameForAnyEngineAndJobs)
{
    for (const QString &folder : {Root(), DeepFolder(), Path(u"DOS"_s)}) {
        SCOPED_TRACE(folder.toStdString());
        const SOutcome serial = Check(folder, {u"--songs"_s, u"--jobs"_s, u"1"_s});
        EXPECT_LT(serial.elapsedMs, kBoundMs);
        EXPECT_EQ(serial.exitCode, 0) << serial.rows.toStdString();
        EXPECT_TRUE(IsValidUtf16Log(serial.directoryLog));
        for (const QJsonValue &row : QJsonDocument::fromJson(serial.rows).array()) {
            const QJsonObject fields = row.toObject();
            EXPECT_TRUE(fields[u"result"_s].toString().isEmpty()) << fields[u"path"_s].toString().toStdString();
        }
        ExpectSame(serial, Check(folder, {u"--songs"_s, u"--jobs"_s, u"4"_s}));
        ExpectSame(serial, Check(folder, {u"--songs"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"4"_s}));
    }
    const SOutcome root = Check(Root(), {u"--songs"_s});
    EXPECT_EQ(RowWithPath(root, Path(u"Rock; Roll.cdg"_s))[u"title"_s].toString(), u"Rock and Roll"_s);
    EXPECT_EQ(RowWithPath(root, Path(u";"_s))[u"title"_s].toString(), u"Semicolon"_s);
    EXPECT_EQ(RowWithPath(root, Path(u"Zed.mp3"_s))[u"title"_s].toString(), u"Zed"_s);
    EXPECT_EQ(RowWithPath(root, Path(u"Caf\\xE9.cdg"_s))[u"title"_s].toString(), u"Latin One"_s);
    EXPECT_EQ(RowWithPath(root, Path(u"Caf\u00e9 \ud55c.mp3"_s))[u"title"_s].toString(), u"Caf\u00e9 \ud55c\uad6d"_s);
    EXPECT_EQ(RowWithPath(root, Path(u"Packed.zip"_s))[u"title"_s].toString(), u"Packed"_s);
    EXPECT_EQ(RowWithPath(root, Path(u"Wide; Packed.zip"_s))[u"title"_s].toString(), u"Wide"_s);
    if (QFileInfo::exists(Path(u"Bz.zip"_s))) {
        EXPECT_EQ(RowWithPath(root, Path(u"Bz.zip"_s))[u"title"_s].toString(), u"Bzipped"_s);
    }
    const SOutcome deep = Check(DeepFolder(), {u"--songs"_s});
    EXPECT_EQ(RowWithPath(deep, DeepFolder() + u"/Deep Song.cdg"_s)[u"title"_s].toString(), u"Deep"_s);
}

TEST_F(COddLibraryCli, PlaylistsFindTheirUpperCaseSongs)
{
    QTemporaryDir data;
    QTemporaryDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
    for (const QString &playlist : {Path(u"Lists/list.txt"_s), Path(u"Lists/list.mpl"_s)}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(VELMORA_BINARY), {u"playlist"_s, u"--data-dir"_s, data.path(), playlist});
        ASSERT_TRUE(process.waitForFinished(kBoundMs));
        EXPECT_EQ(process.exitCode(), 0) << playlist.toStdString() << process.readAllStandardOutput().toStdString();
    }
}

// "velmora check ." names every file by a clean path.
TEST_F(COddLibraryCli, PathsGivenRelativelyComeOutClean)
{
    QProcess process;
    process.setWorkingDirectory(Path(u"DOS"_s));
    QTemporaryDir data;
    process.start(QString::fromUtf8(VELMORA_BINARY),
                  {u"check"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, data.path(), u"."_s});
    ASSERT_TRUE(process.waitForFinished(kBoundMs));
    const QJsonArray rows = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0).toObject()[u"path"_s].toString(), QDir(Path(u"DOS"_s)).canonicalPath() + u"/00001.MCG"_s);
    const QStringList log = test::DecodeRunLog(test::ReadBytes(QDir(data.path()).filePath(u"directory.log"_s)));
    EXPECT_TRUE(log.contains(u"LIST, ListSelectDirectory "_s + QDir(Path(u"DOS"_s)).canonicalPath()));
    for (const QString &line : log)
        EXPECT_FALSE(line.contains(u"/./"_s)) << line.toStdString();
}
