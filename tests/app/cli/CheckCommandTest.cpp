// The command line seen from outside: arguments in, stdout, stderr and exit status out.
#include "TestSupport.h"
#include "app/cli/CliRun.h"

#include "samplegen/OtherFormats.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::RunVelmora;
using velmora::test::SRun;

namespace {

class CCliFixture : public ::testing::Test
{
protected:
    QString Library(const QString &name = {}) const { return m_library.filePath(name); }
    QString DataDir() const { return m_data.path(); }

    QTemporaryDir m_library;
    QTemporaryDir m_data;
};

} // namespace

TEST_F(CCliFixture, VersionAndHelp)
{
    const SRun version = RunVelmora({u"--version"_s});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Velmora 1.0.0.15\n");

    const SRun help = RunVelmora({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("velmora check"));
}

TEST_F(CCliFixture, UsageErrorsExitTwoAndWriteNoLogs)
{
    for (const QStringList &arguments : {QStringList{u"frobnicate"_s},
                                         QStringList{u"check"_s},
                                         QStringList{u"check"_s, u"--format"_s, u"xml"_s, Library()},
                                         QStringList{u"check"_s, u"--data-dir"_s, DataDir(), Library(u"missing"_s)}}) {
        const SRun run = RunVelmora(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_TRUE(QDir(DataDir()).isEmpty());
}

TEST_F(CCliFixture, CleanFolderExitsZero)
{
    QDir(Library()).mkdir(u"Sub"_s);
    const SRun run = RunVelmora({u"check"_s, u"--data-dir"_s, DataDir(), Library()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("Sub"));
    EXPECT_TRUE(QFile::exists(QDir(DataDir()).filePath(u"directory.log"_s)));
    EXPECT_TRUE(QFile::exists(QDir(DataDir()).filePath(u"error.log"_s)));
}

TEST_F(CCliFixture, ProblemFilesExitOneAndShowInJson)
{
    test::WriteBytes(Library(u"bad.mp3"_s), "nothing to learn here");
    const SRun run = RunVelmora({u"check"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, DataDir(), Library()});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row[u"fileName"_s].toString(), u"bad.mp3"_s);
    EXPECT_EQ(row[u"result"_s].toString(), u"AUDIO - Unknown Media"_s);
    EXPECT_EQ(row[u"mark"_s].toInt(), 3);
    EXPECT_TRUE(row[u"checked"_s].toBool());

    const QStringList errors = test::DecodeRunLog(test::ReadBytes(QDir(DataDir()).filePath(u"error.log"_s)));
    EXPECT_TRUE(errors.contains(u"INFO, AUDIO - Unknown Media "_s + Library(u"bad.mp3"_s)));
}

TEST_F(CCliFixture, SongCheckAsCsvWithTrace)
{
    test::WriteBytes(Library(u"10.mp3"_s), "x");
    test::WriteBytes(Library(u"9.mp3"_s), "x");
    const SRun run = RunVelmora({u"check"_s, u"--songs"_s, u"--trace"_s, u"--format"_s, u"csv"_s,
                                 u"--data-dir"_s, DataDir(), Library()});
    EXPECT_EQ(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].contains("9.mp3"));
    EXPECT_TRUE(lines[2].contains("10.mp3"));
    EXPECT_TRUE(run.err.contains("LIST, ListSelectDirectory OK"));
}

TEST_F(CCliFixture, SongCheckOfTheSampleLibraryMergesSongs)
{
    QProcess generator;
    generator.start(QString::fromUtf8(VELMORA_SAMPLEGEN_BINARY), {Library()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0);

    const SRun run = RunVelmora({u"check"_s, u"--songs"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, DataDir(), Library()});
    EXPECT_EQ(run.exitCode, 0);
    QStringList fileNames;
    for (const QJsonValue &row : QJsonDocument::fromJson(run.out).array())
        fileNames.append(row[u"fileName"_s].toString());
    for (const QString &merged : {u"Amber Coast - Paper Lanterns.cdg;Amber Coast - Paper Lanterns.mp3"_s,
                                  u"Song.cdg;Song-.mp3"_s,
                                  u"Trio - Three Parts.cdg;Trio - Three Parts.mp3;Trio - Three Parts.wav"_s,
                                  u"Packed - Zip End.cdg;Packed - Zip End.mp3"_s, u"Packed - Zip End.zip"_s,
                                  u"Midi Night.kar"_s, u"Midi Night.mp3"_s, u"Klov Song.mdk"_s})
        EXPECT_TRUE(fileNames.contains(merged)) << merged.toStdString();
    EXPECT_LT(fileNames.indexOf(u"9.mp3"_s), fileNames.indexOf(u"10.mp3"_s));
    EXPECT_LT(fileNames.indexOf(u"More Songs"_s), fileNames.indexOf(u"9.mp3"_s)); // folders first

    // The numbered jukebox folders, with their lists without a mark read as Korean.
    const SRun juke = RunVelmora({u"check"_s, u"--songs"_s, u"--ansi-code-page"_s, u"949"_s, u"--format"_s,
                                  u"json"_s, u"--data-dir"_s, DataDir(), Library(u"Jukebox"_s)});
    EXPECT_EQ(juke.exitCode, 0);
    const QJsonArray rows = QJsonDocument::fromJson(juke.out).array();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[1][u"fileName"_s].toString(), u"7.avi;7.mp3"_s);
    EXPECT_EQ(rows[2][u"fileName"_s].toString(), u"42.cdg;42.mp3;42-.mp3"_s);
    EXPECT_EQ(rows[3][u"title"_s].toString(), u"\ub178\ub798"_s);
    EXPECT_TRUE(rows[3][u"detailsLoaded"_s].toBool());

    const SRun badCodePage = RunVelmora({u"check"_s, u"--ansi-code-page"_s, u"437"_s, Library()});
    EXPECT_EQ(badCodePage.exitCode, 2);
}

TEST_F(CCliFixture, MediaToolDescribesAudioAndVideo)
{
    if (QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty())
        GTEST_SKIP() << "mediainfo is not installed";
    test::WriteBytes(Library(u"clip.avi"_s), samplegen::MakeAviFile(3));
    test::WriteBytes(Library(u"tone.wav"_s), samplegen::MakeWavFile(2));
    const SRun run = RunVelmora({u"check"_s, u"--engine"_s, u"tool"_s, u"--format"_s, u"json"_s, u"--data-dir"_s,
                                 DataDir(), Library()});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0][u"title"_s].toString().startsWith(u"AVI"_s));   // the General summary
    EXPECT_TRUE(rows[0][u"artist"_s].toString().startsWith(u"RGB"_s));  // the Video summary
    EXPECT_EQ(rows[0][u"duration"_s].toInt(), 3);
    EXPECT_TRUE(rows[1][u"album"_s].toString().startsWith(u"PCM"_s));   // the Audio summary
    EXPECT_EQ(rows[1][u"duration"_s].toInt(), 2);
    EXPECT_TRUE(rows[1][u"detailsLoaded"_s].toBool());
}
