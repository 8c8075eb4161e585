// "velmora check --move-to" seen from outside: what moves, what is kept, what is reported,
// and a census of the files before and after every run.
#include "TestSupport.h"
#include "app/cli/CliRun.h"
#include "platform/FileCensus.h"
#include "platform/SecondFileSystem.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::RunVelmora;
using velmora::test::SRun;
using velmora::test::FileCensus;
using velmora::test::Moved;

namespace {

// A library in which the media-details check ticks bad.mp3 and bad.cdg (nothing can be learnt
// of them) and leaves good/ alone, and an empty target folder beside it.
class CMoveCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteBytes(Lib(u"bad.mp3"_s), "nothing to learn here");
        test::WriteBytes(Lib(u"bad.cdg"_s), "nor here");
        QDir(Lib()).mkdir(u"good"_s);
        QDir(m_root.path()).mkdir(u"target"_s);
        QDir(m_root.path()).mkdir(u"data"_s);
    }
    QString Lib(const QString &name = {}) const { return Under(u"lib"_s, name); }
    QString Target(const QString &name = {}) const { return Under(u"target"_s, name); }
    QString Under(const QString &folder, const QString &name) const
    {
        return m_root.path() + u'/' + folder + (name.isEmpty() ? QString() : u'/' + name);
    }
    SRun Check(QStringList options, const QString &target)
    {
        options = QStringList{u"check"_s, u"--data-dir"_s, Under(u"data"_s, {}), u"--move-to"_s, target} + options;
        return RunVelmora(options << Lib());
    }
    QMap<QString, QByteArray> Census() const { return FileCensus({Lib(), Target()}); }
    QStringList Log() const { return test::DecodeRunLog(test::ReadBytes(Under(u"data"_s, u"directory.log"_s))); }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(CMoveCommandTest, MovesWhatTheCheckTickedAndKeepsExistingTargets)
{
    test::WriteBytes(Target(u"bad.cdg"_s), "an older take");
    const auto expected = Moved(Census(), Lib(u"bad.mp3"_s), Target(u"bad.mp3"_s));

    const SRun run = Check({}, Target());

    EXPECT_EQ(run.exitCode, 1); // the rows are still marked
    EXPECT_EQ(Census(), expected);
    EXPECT_TRUE(run.err.contains("kept existing '" + Target(u"bad.cdg"_s).toUtf8() + "' (--overwrite replaces it)"));
    const QStringList log = Log();
    EXPECT_TRUE(log.contains(u"MOVE (2), Directory "_s + Target()));
    EXPECT_EQ(log.filter(u"MoveFile '"_s), QStringList{u"MoveFile '%1' to '%2'"_s.arg(Lib(u"bad.mp3"_s), Target(u"bad.mp3"_s))});
    EXPECT_TRUE(run.out.contains("[x]  bad.cdg")); // kept, so still ticked
    EXPECT_TRUE(run.out.contains("[ ]  bad.mp3"));
}

TEST_F(CMoveCommandTest, OverwriteReplacesTheExistingTarget)
{
    test::WriteBytes(Target(u"bad.cdg"_s), "an older take");
    auto expected = Census();
    expected.remove(Target(u"bad.cdg"_s));
    expected = Moved(Moved(expected, Lib(u"bad.mp3"_s), Target(u"bad.mp3"_s)), Lib(u"bad.cdg"_s), Target(u"bad.cdg"_s));
    const SRun run = Check({u"--overwrite"_s}, Target());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Census(), expected);
    EXPECT_EQ(Log().filter(u"MoveFile '"_s).size(), 2);
}

TEST_F(CMoveCommandTest, ADryRunPrintsTheMovesAndChangesNothing)
{
    const auto before = Census();
    const SRun run = Check({u"--dry-run"_s, u"--format=json"_s}, Target());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Census(), before);
    EXPECT_TRUE(run.err.contains("would move '" + Lib(u"bad.mp3"_s).toUtf8() + "' to '" + Target(u"bad.mp3"_s).toUtf8() + "'"));
    EXPECT_TRUE(run.err.contains("would move '" + Lib(u"bad.cdg"_s).toUtf8()));
    EXPECT_TRUE(run.out.startsWith('[')); // the rows stay machine-readable
    EXPECT_TRUE(Log().filter(u"MOVE ("_s).isEmpty());
}

TEST_F(CMoveCommandTest, AFailedMoveExitsThreeAndLeavesTheFile)
{
    QDir(Target()).mkdir(u"bad.cdg"_s); // a folder where the file should go
    const auto expected = Moved(Census(), Lib(u"bad.mp3"_s), Target(u"bad.mp3"_s));
    const SRun run = Check({u"--overwrite"_s}, Target());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(Census(), expected);
    EXPECT_TRUE(run.err.contains("move failed: '" + Lib(u"bad.cdg"_s).toUtf8() + "': target is a folder"));
    EXPECT_TRUE(Log().contains(u"MoveFile failed: target is a folder"_s));
}

TEST_F(CMoveCommandTest, UsageErrorsChangeNothing)
{
    test::WriteBytes(Under(u"a-file"_s, {}), "x");
    const auto before = Census();
    const QString data = Under(u"data"_s, {});
    for (const QStringList &arguments :
         {QStringList{u"check"_s, u"--move-to"_s, Target(), u"--overwrite"_s, u"--keep-existing"_s, Lib()},
          QStringList{u"check"_s, u"--dry-run"_s, Lib()},
          QStringList{u"check"_s, u"--overwrite"_s, Lib()},
          QStringList{u"check"_s, u"--move-to"_s, Lib()},
          QStringList{u"check"_s, u"--data-dir"_s, data, u"--move-to"_s, Under(u"missing"_s, {}), Lib()},
          QStringList{u"check"_s, u"--data-dir"_s, data, u"--move-to"_s, Under(u"a-file"_s, {}), Lib()}}) {
        const SRun run = RunVelmora(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_EQ(Census(), before);
    EXPECT_TRUE(QDir(data).isEmpty());
}

TEST_F(CMoveCommandTest, MovesToAnotherFileSystem)
{
    test::CSecondFileSystem second("4m");
    if (second.Folder().isEmpty())
        GTEST_SKIP() << "no second file system here (no tmpfs mount, /dev/shm is not another device)";
    auto expected = FileCensus({Lib(), second.Folder()});
    expected = Moved(Moved(expected, Lib(u"bad.mp3"_s), second.Folder() + u"/bad.mp3"_s), Lib(u"bad.cdg"_s),
                     second.Folder() + u"/bad.cdg"_s);
    const SRun run = Check({}, second.Folder());
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(FileCensus({Lib(), second.Folder()}), expected);
}

TEST_F(CMoveCommandTest, NamesThatAreNotUtf8Move)
{
    const QByteArray lib = QFile::encodeName(Lib());
    const QByteArray target = QFile::encodeName(Target());
    const QByteArray name = "caf\xE9.mp3";
    {
        FILE *raw = std::fopen((lib + '/' + name).constData(), "wb");
        ASSERT_NE(raw, nullptr);
        std::fputs("nothing to learn", raw);
        std::fclose(raw);
    }
    const SRun run = Check({}, Target());
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(::access((target + '/' + name).constData(), F_OK), 0);
    EXPECT_NE(::access((lib + '/' + name).constData(), F_OK), 0);
    ::unlink((target + '/' + name).constData()); // Qt's clean-up cannot name it
}

// A library with one notes file of the same name in every artist folder, all ticked: with
// or without --overwrite, the first goes to the target and the others stay where they are.
// Counted by files and bytes.
TEST_F(CMoveCommandTest, FilesOfOneNameFromSeveralFoldersNeverReplaceEachOther)
{
    const QString name = u"Folder Notes.mp3"_s;
    const auto bytesOf = [](const QMap<QString, QByteArray> &census) {
        qint64 bytes = 0;
        for (const QByteArray &content : census)
            bytes += content.size();
        return bytes;
    };
    for (const bool overwrite : {false, true}) {
        QDir(Target()).removeRecursively();
        QDir(m_root.path()).mkdir(u"target"_s);
        for (const QString &artist : {u"Abba"_s, u"Blur"_s, u"Cher"_s})
            test::WriteBytes(Lib(artist + u'/' + name), (u"nothing to learn of "_s + artist).toUtf8());
        const auto before = Census();
        const SRun run = Check(overwrite ? QStringList{u"--subfolders"_s, u"--overwrite"_s} : QStringList{u"--subfolders"_s},
                               Target());
        EXPECT_EQ(run.exitCode, 3) << overwrite;
        const auto after = Census();
        EXPECT_EQ(after.size(), before.size()) << overwrite;
        EXPECT_EQ(bytesOf(after), bytesOf(before)) << overwrite;
        EXPECT_EQ(test::ReadBytes(Target(name)), "nothing to learn of Abba") << overwrite;
        EXPECT_EQ(test::ReadBytes(Lib(u"Cher/"_s + name)), "nothing to learn of Cher") << overwrite;
        EXPECT_EQ(Log().filter(u"MoveFile failed: a file of this name was moved there by this Move"_s).size(), 2);
        EXPECT_EQ(run.err.count("a file of this name was moved there by this Move"), 2) << run.err.constData();
        EXPECT_TRUE(run.out.contains("[x]  Folder Notes.mp3")) << run.out.constData();
    }
}
