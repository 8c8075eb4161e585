// "velmora check --songs --verify" and "velmora undo" seen from outside: the verdicts in
// every output format, the run-log lines, the exit status, the quarantine and its undo.
#include "TestSupport.h"
#include "app/cli/CliRun.h"
#include "platform/FileCensus.h"
#include "verify/VerifyBytes.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::test;

namespace {

// A library with a good pair, a pair whose audio is damaged (with a lyrics text beside it
// and the AppleDouble file of its audio), graphics without audio in a subfolder, and a
// target folder beside the library.
class CVerifyCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteBytes(Lib(u"Good.cdg"_s), CdgStream(10));
        WriteBytes(Lib(u"Good.mp3"_s), Id3v2Tag(1024) + Mp3Frames(383, 1));
        const QByteArray first = Mp3Frames(100, 2);
        const QByteArray damaged = first + Garbage(4000) + Mp3Frames(283, 102);
        m_damage = u"4000 bytes at byte %1 (at 0:02 of the audio) are not MPEG audio frames"_s.arg(first.size());
        WriteBytes(Lib(u"Bad.cdg"_s), CdgStream(10).replace(24 * 40, 2, "\x09\x01"));
        WriteBytes(Lib(u"Bad.mp3"_s), damaged);
        WriteBytes(Lib(u"Bad.txt"_s), "the lyrics, typed by hand");
        WriteBytes(Lib(u"._Bad.mp3"_s), Garbage(82));
        WriteBytes(Lib(u"Sub/Lonely.cdg"_s), CdgStream(5).replace(24 * 40, 2, "\x09\x06"));
        QDir(m_root.path()).mkdir(u"target"_s);
    }
    QString Lib(const QString &name = {}) const { return Under(u"lib"_s, name); }
    QString Target(const QString &name = {}) const { return Under(u"target"_s, name); }
    QString Under(const QString &folder, const QString &name) const
    {
        return m_root.path() + u'/' + folder + (name.isEmpty() ? QString() : u'/' + name);
    }
    SRun Check(const QStringList &options)
    {
        return RunVelmora(QStringList{u"check"_s, u"--data-dir"_s, Under(u"data"_s, {})} + options << Lib());
    }
    QStringList Log(const char *name = "directory.log") const
    {
        return DecodeRunLog(ReadBytes(Under(u"data"_s, QString::fromLatin1(name))));
    }
    QMap<QString, QByteArray> Census() const { return FileCensus({Lib(), Target()}); }
    QString Manifest() const
    {
        const QStringList found = QDir(Target()).entryList({u"velmora-quarantine-*.json"_s}, QDir::Files);
        return found.size() == 1 ? Target(found.first()) : QString();
    }

    QTemporaryDir m_root;
    QString m_damage; // the text of Bad.mp3's damage
};

QJsonArray Rows(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).array();
}

QJsonObject RowNamed(const QJsonArray &rows, const QString &firstName)
{
    for (const QJsonValue &row : rows) {
        if (row[u"fileName"_s].toString().section(u';', 0, 0) == firstName)
            return row.toObject();
    }
    return {};
}

} // namespace

TEST_F(CVerifyCommandTest, JsonRowsGainVerdictAndProblemsAndNothingElseChanges)
{
    const SRun plain = Check({u"--songs"_s, u"--subfolders"_s, u"--format"_s, u"json"_s});
    const QStringList plainLog = Log();
    const SRun verified = Check({u"--songs"_s, u"--subfolders"_s, u"--verify"_s, u"--format"_s, u"json"_s});
    ASSERT_EQ(verified.exitCode, 1);
    const QJsonArray before = Rows(plain.out);
    const QJsonArray after = Rows(verified.out);
    ASSERT_EQ(before.size(), after.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        QJsonObject row = after.at(i).toObject();
        EXPECT_TRUE(row.contains(u"verdict"_s));
        EXPECT_TRUE(row.contains(u"problems"_s));
        row.remove(u"verdict"_s);
        row.remove(u"problems"_s);
        EXPECT_EQ(row, before.at(i).toObject());
    }
    EXPECT_EQ(RowNamed(after, u"Good.cdg"_s)[u"verdict"_s].toString(), u"ok"_s);
    const QJsonObject bad = RowNamed(after, u"Bad.cdg"_s);
    EXPECT_EQ(bad[u"verdict"_s].toString(), u"broken"_s);
    const QJsonObject problem = bad[u"problems"_s].toArray().first().toObject();
    EXPECT_EQ(problem[u"code"_s].toString(), u"audio-damaged"_s);
    EXPECT_EQ(problem[u"severity"_s].toString(), u"broken"_s);
    EXPECT_EQ(problem[u"text"_s].toString(), m_damage);
    EXPECT_EQ(RowNamed(after, u"Lonely.cdg"_s)[u"problems"_s].toArray().first()[u"code"_s].toString(), u"no-audio"_s);

    // The check's own lines first, unchanged; then one Problem line per reason, in both logs.
    const QStringList log = Log();
    ASSERT_GT(log.size(), plainLog.size());
    EXPECT_EQ(log.mid(0, plainLog.size()), plainLog);
    const QStringList added = log.mid(plainLog.size());
    EXPECT_TRUE(added.contains(u"VERIFY, audio-damaged, %1, %2"_s.arg(Lib(u"Bad.mp3"_s), m_damage)));
    EXPECT_TRUE(added.contains(u"VERIFY, sidecar, %1, not a song: an AppleDouble file that macOS writes beside Bad.mp3 on disks it cannot label"_s.arg(Lib(u"._Bad.mp3"_s))));
    for (const QString &line : added)
        EXPECT_TRUE(line.startsWith(u"VERIFY, "_s)) << line.toStdString();
    const QStringList errors = Log("error.log");
    EXPECT_EQ(errors.mid(errors.size() - added.size()), added);
}

TEST_F(CVerifyCommandTest, TextAndCsvShowTheVerdictAndEachReason)
{
    const SRun text = Check({u"--songs"_s, u"--verify"_s});
    EXPECT_EQ(text.exitCode, 1);
    const QStringList lines = QString::fromUtf8(text.out).split(u'\n');
    EXPECT_TRUE(lines.first().endsWith(u"Result  Verdict"_s)) << lines.first().toStdString();
    const qsizetype bad = lines.indexOf(QRegularExpression(u"^  Bad.cdg .* broken$"_s));
    ASSERT_GE(bad, 0) << text.out.constData();
    EXPECT_EQ(lines.at(bad + 1), u"    broken audio-damaged: Bad.mp3: "_s + m_damage);

    const SRun csv = Check({u"--songs"_s, u"--verify"_s, u"--format"_s, u"csv"_s});
    const QStringList rows = QString::fromUtf8(csv.out).split(u"\r\n"_s);
    EXPECT_TRUE(rows.first().endsWith(u",detailsLoaded,verdict,problems"_s));
    const QStringList badRow = rows.filter(u"Bad.cdg;Bad.mp3"_s);
    ASSERT_EQ(badRow.size(), 1);
    EXPECT_TRUE(badRow.first().endsWith(u",broken,broken audio-damaged: Bad.mp3: "_s + m_damage))
        << badRow.first().toStdString();
}

TEST_F(CVerifyCommandTest, OnlyProblemsAndTheExitStatus)
{
    const SRun problems = Check({u"--songs"_s, u"--verify"_s, u"--only-problems"_s, u"--format"_s, u"json"_s});
    QStringList names;
    for (const QJsonValue &row : Rows(problems.out))
        names.append(row[u"fileName"_s].toString());
    EXPECT_EQ(names, (QStringList{u"._Bad.mp3"_s, u"Bad.cdg;Bad.mp3"_s}));

    QDir(Lib()).removeRecursively();
    WriteBytes(Lib(u"Good.cdg"_s), CdgStream(10));
    WriteBytes(Lib(u"Good.mp3"_s), Mp3Frames(383, 1));
    EXPECT_EQ(Check({u"--songs"_s, u"--verify"_s}).exitCode, 0);
    WriteBytes(Lib(u"Thumbs.db"_s), "cache");
    EXPECT_EQ(Check({u"--songs"_s, u"--verify"_s}).exitCode, 1); // a warning is enough
}

TEST_F(CVerifyCommandTest, OptionsThatDoNotGoTogetherAreUsageErrors)
{
    for (const QStringList &options : {QStringList{u"--verify"_s}, QStringList{u"--songs"_s, u"--only-problems"_s},
                                       QStringList{u"--songs"_s, u"--verify"_s, u"--move-to"_s, Target(), u"--overwrite"_s}}) {
        const SRun run = Check(options);
        EXPECT_EQ(run.exitCode, 2) << options.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST_F(CVerifyCommandTest, QuarantineMovesBrokenSongsWithCompanionsAndUndoPutsThemBack)
{
    const QMap<QString, QByteArray> before = Census();
    const SRun run = Check({u"--songs"_s, u"--subfolders"_s, u"--verify"_s, u"--move-to"_s, Target()});
    EXPECT_EQ(run.exitCode, 1);
    auto expected = before;
    for (const QString &name : {u"Bad.cdg"_s, u"Bad.mp3"_s, u"Bad.txt"_s, u"._Bad.mp3"_s, u"Sub/Lonely.cdg"_s})
        expected = Moved(expected, Lib(name), Target(name));
    const QString manifest = Manifest();
    ASSERT_FALSE(manifest.isEmpty()) << run.err.constData();
    expected.insert(manifest, ReadBytes(manifest));
    EXPECT_EQ(Census(), expected);
    const QJsonArray moves = QJsonDocument::fromJson(ReadBytes(manifest))[u"moves"_s].toArray();
    EXPECT_EQ(moves.size(), 5);
    for (const QJsonValue &move : moves)
        EXPECT_EQ(move[u"state"_s].toString(), u"moved"_s);
    const QStringList log = Log();
    EXPECT_TRUE(log.contains(u"MOVE (5), Directory %1"_s.arg(Target())));
    EXPECT_TRUE(log.contains(u"MoveFile '%1' to '%2'"_s.arg(Lib(u"Sub/Lonely.cdg"_s), Target(u"Sub/Lonely.cdg"_s))));

    const SRun undo = RunVelmora({u"undo"_s, manifest});
    EXPECT_EQ(undo.exitCode, 0) << undo.err.constData();
    auto back = before;
    back.insert(manifest, ReadBytes(manifest));
    EXPECT_EQ(Census(), back);
    EXPECT_TRUE(undo.out.contains("5 put back, 0 already back, 0 not put back"));
    // A second undo finds everything in place.
    EXPECT_EQ(RunVelmora({u"undo"_s, manifest}).exitCode, 0);
}

TEST_F(CVerifyCommandTest, NoFileIsEverReplacedNeitherByTheQuarantineNorByItsUndo)
{
    WriteBytes(Target(u"Bad.cdg"_s), "an older quarantine");
    const QMap<QString, QByteArray> before = Census();
    const SRun run = Check({u"--songs"_s, u"--subfolders"_s, u"--verify"_s, u"--move-to"_s, Target()});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(ReadBytes(Target(u"Bad.cdg"_s)), "an older quarantine");
    EXPECT_EQ(ReadBytes(Lib(u"Bad.cdg"_s)), before.value(Lib(u"Bad.cdg"_s)));
    EXPECT_TRUE(run.err.contains("move failed: '" + Lib(u"Bad.cdg"_s).toUtf8() + "': target exists"));
    const QString manifest = Manifest();
    ASSERT_FALSE(manifest.isEmpty());

    // The user puts a new Bad.mp3 in place: undo leaves both alone and says so.
    WriteBytes(Lib(u"Bad.mp3"_s), "a fresh copy");
    const SRun undo = RunVelmora({u"undo"_s, manifest});
    EXPECT_EQ(undo.exitCode, 1);
    EXPECT_EQ(ReadBytes(Lib(u"Bad.mp3"_s)), "a fresh copy");
    EXPECT_TRUE(QFile::exists(Target(u"Bad.mp3"_s)));
    EXPECT_TRUE(undo.err.contains("not put back '" + Lib(u"Bad.mp3"_s).toUtf8() + "'"));
    EXPECT_TRUE(undo.err.contains("its place is taken"));
    EXPECT_EQ(ReadBytes(Lib(u"Sub/Lonely.cdg"_s)), before.value(Lib(u"Sub/Lonely.cdg"_s)));
}

TEST_F(CVerifyCommandTest, AQuarantineFolderReachedThroughALinkIsRefused)
{
    QDir(m_root.path()).mkdir(u"elsewhere"_s);
    ASSERT_EQ(::symlink(Under(u"elsewhere"_s, {}).toUtf8().constData(), Target(u"Sub"_s).toUtf8().constData()), 0);
    const SRun run = Check({u"--songs"_s, u"--subfolders"_s, u"--verify"_s, u"--move-to"_s, Target()});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(QFile::exists(Lib(u"Sub/Lonely.cdg"_s)));
    EXPECT_TRUE(QDir(Under(u"elsewhere"_s, {})).isEmpty());
    EXPECT_TRUE(run.err.contains("cannot make its folder in the quarantine"));
}

TEST_F(CVerifyCommandTest, AQuarantineInsideTheCheckedTreeKeepsWhatItHolds)
{
    const QString inside = Lib(u"Quarantine"_s);
    QDir().mkpath(inside);
    EXPECT_EQ(Check({u"--songs"_s, u"--subfolders"_s, u"--verify"_s, u"--move-to"_s, inside}).exitCode, 1);
    EXPECT_TRUE(QFile::exists(inside + u"/Bad.mp3"_s));
    // A second run finds the broken songs in the quarantine and leaves them there.
    const SRun again = Check({u"--songs"_s, u"--subfolders"_s, u"--verify"_s, u"--move-to"_s, inside});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("no broken song to move")) << again.err.constData();
    EXPECT_TRUE(QFile::exists(inside + u"/Bad.mp3"_s));
    EXPECT_FALSE(QFile::exists(inside + u"/Quarantine"_s));
}

TEST(UndoCommandTest, AFileThatIsNoManifestIsRefused)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath(u"x.json"_s), "{\"kind\": \"something else\"}");
    const SRun run = RunVelmora({u"undo"_s, dir.filePath(u"x.json"_s)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("not a quarantine manifest"));
    EXPECT_EQ(RunVelmora({u"undo"_s}).exitCode, 2);
}
