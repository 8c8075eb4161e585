// velmora-updater replacing a program in a temporary program folder.
#include "TestSupport.h"
#include "update/LoopbackServer.h"

#include "update/UpdateInstall.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QByteArray ProgramScript(const char *tag)
{
    return QByteArray("#!/bin/sh\necho \"") + tag + " $*\" > \"$(dirname \"$0\")/started\"\n";
}

class CUpdaterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteBytes(Program(), ProgramScript("old"));
        QFile::setPermissions(Program(), QFile::permissions(Program()) | QFileDevice::ExeOwner);
        test::WriteBytes(Update(u"velmora"_s), ProgramScript("new"));
    }
    QString Program(const QString &name = u"velmora"_s) const { return m_program.filePath(name); }
    QString Update(const QString &name) const { return m_update.filePath(name); }

    int RunUpdater(const QStringList &fileRecords)
    {
        QProcess updater;
        updater.start(QStringLiteral(VELMORA_UPDATER_BINARY),
                      QStringList{u"http://127.0.0.1:%1/x86/update/"_s.arg(test::ClosedLoopbackPort()), m_program.path(),
                                  m_user.path(), m_update.path(), u"[KILL]|Velmora.exe||"_s,
                                  u"[HEADER]|Velmora|1|Velmora.exe|1.0.0.16"_s}
                          + fileRecords);
        updater.waitForFinished(30000);
        return updater.exitStatus() == QProcess::NormalExit ? updater.exitCode() : -1;
    }
    // What the restarted program said ("old …" or "new …"); empty when it never ran.
    QString Started() const
    {
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            const QByteArray text = QFile::exists(Program(u"started"_s)) ? test::ReadBytes(Program(u"started"_s)) : QByteArray();
            if (text.endsWith('\n'))
                return QString::fromUtf8(text).trimmed();
            QThread::msleep(50);
        }
        return {};
    }
    QString Record(const QString &name, const QString &checksum, const QString &localDir = {}) const
    {
        return u"[FILE]|%1|1.0.0.16||%2|%3"_s.arg(name, localDir, checksum);
    }

    QTemporaryDir m_program;
    QTemporaryDir m_user;
    QTemporaryDir m_update;
};

} // namespace

TEST_F(CUpdaterFixture, ReplacesTheProgramAndRestartsIt)
{
    test::WriteBytes(Update(u"manual.txt"_s), "read me");
    const QString sum = FileSha256(Update(u"velmora"_s));
    ASSERT_EQ(sum.size(), 64);
    EXPECT_EQ(RunUpdater({Record(u"velmora"_s, sum.toUpper()), Record(u"manual.txt"_s, {}, u"doc"_s)}), 0);
    EXPECT_EQ(test::ReadBytes(Program()), ProgramScript("new"));
    EXPECT_TRUE(QFile::permissions(Program()) & QFileDevice::ExeOwner);
    EXPECT_EQ(test::ReadBytes(Program(u"doc/manual.txt"_s)), "read me");
    EXPECT_EQ(Started(), u"new -iDodOdevOdiviz"_s);
    EXPECT_EQ(QDir(m_program.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{u"started"_s, u"velmora"_s}));
}

TEST_F(CUpdaterFixture, FailedInstallKeepsEveryOldFileAndStartsTheOldProgram)
{
    test::WriteBytes(Program(u"velmora.bak"_s), "the user's own backup");
    EXPECT_EQ(RunUpdater({Record(u"velmora"_s, QString(64, u'0'))}), 1); // wrong checksum
    EXPECT_EQ(test::ReadBytes(Program()), ProgramScript("old"));
    EXPECT_EQ(Started(), u"old -iDodOdevOdiviz"_s);
    EXPECT_EQ(test::ReadBytes(Program(u"velmora.bak"_s)), "the user's own backup");

    // All or nothing: a later file that is missing keeps the first from being installed.
    QFile::remove(Program(u"started"_s));
    EXPECT_EQ(RunUpdater({Record(u"velmora"_s, {}), Record(u"absent.so"_s, {})}), 1);
    EXPECT_EQ(test::ReadBytes(Program()), ProgramScript("old"));
    EXPECT_EQ(Started(), u"old -iDodOdevOdiviz"_s);

    for (const QString &name : {u"../escape"_s, u"/etc/escape"_s, u"sub/../../escape"_s})
        EXPECT_EQ(RunUpdater({Record(name, {})}), 1) << name.toStdString();
    EXPECT_EQ(RunUpdater({Record(u"velmora"_s, {}, u"../../x"_s)}), 1);
    EXPECT_EQ(RunUpdater({Record(u"velmora"_s, u"not-a-sum"_s)}), 1);
    EXPECT_FALSE(QFile::exists(QFileInfo(m_program.path()).absolutePath() + u"/escape"_s));
    EXPECT_EQ(test::ReadBytes(Program()), ProgramScript("old"));
    EXPECT_TRUE(QDir(m_program.path()).entryList(QDir::Hidden | QDir::Files).filter(u".new"_s).isEmpty());
}

TEST_F(CUpdaterFixture, WaitsForTheRunningProgramToEnd)
{
    // A real executable of the program's name that runs for a moment.
    QFile::remove(Program());
    ASSERT_TRUE(QFile::copy(u"/bin/sleep"_s, Program()));
    QProcess running;
    running.start(Program(), {u"2"_s});
    ASSERT_TRUE(running.waitForStarted());
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(RunUpdater({Record(u"velmora"_s, {})}), 0);
    EXPECT_GE(timer.elapsed(), 1000);
    running.waitForFinished();
    EXPECT_EQ(test::ReadBytes(Program()), ProgramScript("new"));
    EXPECT_EQ(Started(), u"new -iDodOdevOdiviz"_s);
}

TEST(UpdaterArguments, ParsedInTheirOrder)
{
    EXPECT_FALSE(ParseUpdaterArguments({u"url"_s, u"p"_s, u"u"_s, u"f"_s}));
    EXPECT_FALSE(ParseUpdaterArguments({u"url"_s, u"p"_s, u"u"_s, u"f"_s, u"[HEADER]|x"_s}));
    const auto request = ParseUpdaterArguments(
        {u"url"_s, u"p"_s, u"u"_s, u"f"_s, u"[KILL]|Velmora.exe||"_s, u"[HEADER]|V"_s, u"[FILE]|a"_s, u"[file]|b"_s});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->strKillName, u"Velmora.exe"_s);
    EXPECT_EQ(request->fileRecords, (QStringList{u"[FILE]|a"_s, u"[file]|b"_s}));

    QTemporaryDir dir;
    test::WriteBytes(dir.filePath(u"velmora"_s), "");
    EXPECT_EQ(ResolveProgramFile(dir.path(), u"VELMORA.EXE"_s), dir.filePath(u"velmora"_s));
    EXPECT_EQ(ResolveProgramFile(dir.path(), u"../velmora"_s), QString());
    EXPECT_EQ(ResolveProgramFile(dir.path(), u"other.exe"_s), QString());
}
