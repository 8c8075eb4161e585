// "velmora update --check" seen from outside, against a web server on 127.0.0.1.
#include "TestSupport.h"
#include "app/cli/CliRun.h"
#include "update/LoopbackServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class CUpdateCliFixture : public ::testing::Test
{
protected:
    velmora::test::SRun Run(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, m_temp.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, m_config.path()); // no Update/Host setting
        return velmora::test::RunVelmora(QStringList{u"update"_s} + arguments, environment);
    }
    void Publish(const QByteArray &manifest)
    {
        velmora::test::WriteBytes(m_server.Path(velmora::test::CLoopbackServer::ChannelPath(u"update.ini"_s)), manifest);
    }
    QString UpdateFolder() const
    {
        return m_temp.filePath(u"velmora-"_s + QString::number(::geteuid()) + u"/Update_002"_s);
    }
    QStringList UpdateFolderFiles() const { return QDir(UpdateFolder()).entryList(QDir::Files); }

    velmora::test::CLoopbackServer m_server;
    QTemporaryDir m_temp;
    QTemporaryDir m_config;
};

constexpr char kManifest[] = "[HEADER]\nAPPTITLE=Velmora\nFILENUMBER=1\nFILENAME=Velmora.exe\nFILEVERSION=%1\n"
                             "[UPDATE]\nFILENAME=DodOdevOdiviz.zip\n[FILE1]\nFILENAME=velmora\n";

} // namespace

TEST_F(CUpdateCliFixture, OfferedNewerEqualOrNothing)
{
    Publish(QByteArray(kManifest).replace("%1", "1.0.0.16"));
    velmora::test::SRun run = Run({u"--check"_s, u"--host"_s, m_server.Host()});
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    EXPECT_TRUE(run.out.contains("Offered: Velmora.exe 1.0.0.16\n"));
    EXPECT_TRUE(run.out.contains("Running: velmora 1.0.0.15\n"));
    EXPECT_TRUE(run.out.contains("  [FILE]|velmora||||\n"));
    EXPECT_TRUE(run.out.endsWith("Update available: 1.0.0.16\n"));
    EXPECT_TRUE(UpdateFolderFiles().isEmpty()); // nothing fetched but the manifest, which is gone

    Publish(QByteArray(kManifest).replace("%1", "1.0.0.15"));
    run = Run({u"--check"_s, u"--host"_s, m_server.Host()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith("Up to date (1.0.0.15)\n"));

    Publish("<html>Not Found</html>");
    run = Run({u"--check"_s, u"--host"_s, m_server.Host()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("no manifest header"));
}

TEST_F(CUpdateCliFixture, ErrorsExitTwo)
{
    for (const QStringList &arguments : {QStringList{}, QStringList{u"--check"_s}, QStringList{u"--install"_s},
                                         QStringList{u"--check"_s, u"--host"_s, u"a;b"_s},
                                         QStringList{u"--check"_s, u"--host"_s,
                                                     u"127.0.0.1:%1"_s.arg(velmora::test::ClosedLoopbackPort())}}) {
        const velmora::test::SRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST_F(CUpdateCliFixture, AnErrorPageIsNoManifest)
{
    const velmora::test::SRun run = Run({u"--check"_s, u"--host"_s, m_server.Host()}); // nothing published: 404
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("(download code 2)")) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(UpdateFolderFiles().isEmpty());
}

// Another local user prepares the shared temporary folder before we run: the update folder's
// old fixed name, and a link at the name of our own folder to a folder of theirs, both with
// links to a file of ours where the manifest is written. Nothing of theirs is used.
TEST_F(CUpdateCliFixture, OtherUsersCannotSteerTheUpdateFolder)
{
    ::chmod(QFile::encodeName(m_temp.path()).constData(), 01777);
    QTemporaryDir mine;
    const QString victim = mine.filePath(u"victim.txt"_s);
    velmora::test::WriteBytes(victim, "precious");
    QTemporaryDir theirs;
    for (const QString &folder : {m_temp.filePath(u"Update_002"_s), theirs.filePath(u"Update_002"_s)}) {
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString &name : {u"update.ini.part"_s, u"update.ini"_s})
            ASSERT_TRUE(QFile::link(victim, folder + u'/' + name));
    }
    ASSERT_TRUE(QFile::link(theirs.path(), m_temp.filePath(u"velmora-"_s + QString::number(::geteuid()))));

    Publish(QByteArray(kManifest).replace("%1", "1.0.0.16"));
    const velmora::test::SRun run = Run({u"--check"_s, u"--host"_s, m_server.Host()});
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    EXPECT_EQ(velmora::test::ReadBytes(victim), "precious");
    for (const QString &folder : {m_temp.filePath(u"Update_002"_s), theirs.filePath(u"Update_002"_s)}) {
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System).size(), 2);
        EXPECT_TRUE(QFileInfo(folder + u"/update.ini"_s).isSymLink());
    }
}
