// Two local users on one machine, one temporary folder: the second loads playlists and
// checks for updates after the first ran the program, and neither touches the other's work
// files. Needs root, which runs the second user (nobody) through setpriv.
#include "TestSupport.h"
#include "app/cli/CliRun.h"
#include "samplegen/TextEncoding.h"
#include "update/LoopbackServer.h"
#include "update/UpdateInstall.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

constexpr char kManifest[] = "[HEADER]\nAPPTITLE=Velmora\nFILENUMBER=1\nFILENAME=Velmora.exe\nFILEVERSION=1.0.0.16\n"
                             "[UPDATE]\nFILENAME=DodOdevOdiviz.zip\n[FILE1]\nFILENAME=velmora\n";

struct SUser
{
    uid_t uid = 0;
    gid_t gid = 0;
    QString home; // settings and run logs
};

class CSecondUser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "only root can run the program as a second user";
        m_setpriv = QStandardPaths::findExecutable(u"setpriv"_s);
        const passwd *nobody = ::getpwnam("nobody");
        if (m_setpriv.isEmpty() || !nobody)
            GTEST_SKIP() << "setpriv and the user nobody are needed";
        // One temporary folder for both, as /tmp is; playlists every user may read. The test's
        // own scratch folder above them lets others pass through while the test runs.
        m_scratch = QFile::encodeName(QFileInfo(m_shared.path()).absolutePath());
        struct stat scratch {};
        ::stat(m_scratch.constData(), &scratch);
        m_scratchMode = scratch.st_mode & 07777;
        ::chmod(m_scratch.constData(), m_scratchMode | 0011);
        ::chmod(QFile::encodeName(m_shared.path()).constData(), 01777);
        ::chmod(QFile::encodeName(m_public.path()).constData(), 0755);
        m_first = {0, 0, m_public.filePath(u"root-home"_s)};
        m_second = {nobody->pw_uid, nobody->pw_gid, m_public.filePath(u"nobody-home"_s)};
        for (const SUser &user : {m_first, m_second}) {
            ASSERT_TRUE(QDir().mkpath(user.home + u"/config"_s));
            ASSERT_TRUE(QDir().mkpath(user.home + u"/data"_s));
            for (const QString &folder : {user.home, user.home + u"/config"_s, user.home + u"/data"_s}) {
                ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), user.uid, user.gid), 0);
                ::chmod(QFile::encodeName(folder).constData(), 0700);
            }
        }
        test::WriteBytes(m_public.filePath(u"juke.txt"_s),
                         samplegen::Utf16WithMark(u"; Header record: Number, Title, Artist, Files, Folder.\r\n"
                                                  "1|First Song|Singer|1.mp3|/songs|\r\n2|Second|Band|2.mp3|/songs|\r\n"_s));
        test::WriteBytes(m_public.filePath(u"bar.txt"_s), "; an 8-bit list\r\n00123|My Song|Singer\r\n");
        test::WriteBytes(m_server.Path(test::CLoopbackServer::ChannelPath(u"update.ini"_s)), kManifest);
    }

    void TearDown() override
    {
        if (!m_scratch.isEmpty())
            ::chmod(m_scratch.constData(), m_scratchMode);
    }

    test::SRun Run(const SUser &user, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, m_shared.path());
        environment.insert(u"HOME"_s, user.home);
        environment.insert(u"XDG_CONFIG_HOME"_s, user.home + u"/config"_s);
        environment.remove(u"XDG_RUNTIME_DIR"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        if (user.uid == 0) {
            process.start(QStringLiteral(VELMORA_BINARY), arguments);
        } else {
            process.start(m_setpriv, QStringList{u"--reuid=%1"_s.arg(user.uid), u"--regid=%1"_s.arg(user.gid),
                                                 u"--clear-groups"_s, u"--"_s, QStringLiteral(VELMORA_BINARY)}
                                         + arguments);
        }
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    test::SRun Playlist(const SUser &user, const QString &name)
    {
        return Run(user, {u"playlist"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, user.home + u"/data"_s,
                          m_public.filePath(name)});
    }
    test::SRun CheckForUpdate(const SUser &user)
    {
        return Run(user, {u"update"_s, u"--check"_s, u"--host"_s, m_server.Host()});
    }
    QString WorkFolder(const SUser &user) const { return m_shared.filePath(u"velmora-"_s + QString::number(user.uid)); }

    // Every file of a user's work folder: its bytes' SHA-256, owner, mode and time.
    static QMap<QString, QString> Snapshot(const QString &folder)
    {
        QMap<QString, QString> files;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat info {};
            ::lstat(QFile::encodeName(path).constData(), &info);
            files.insert(path, u"%1 %2 %3 %4.%5 "_s.arg(info.st_uid).arg(info.st_mode, 0, 8).arg(info.st_size)
                                   .arg(info.st_mtim.tv_sec).arg(info.st_mtim.tv_nsec)
                                   + (S_ISREG(info.st_mode) ? FileSha256(path) : QString()));
        }
        return files;
    }
    static bool IsPrivateTo(const QString &folder, uid_t uid)
    {
        struct stat info {};
        return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode)
            && info.st_uid == uid && (info.st_mode & 0777) == 0700;
    }

    QString m_setpriv;
    QByteArray m_scratch;
    mode_t m_scratchMode = 0700;
    QTemporaryDir m_shared;
    QTemporaryDir m_public;
    test::CLoopbackServer m_server;
    SUser m_first;
    SUser m_second;
};

using SecondUser = CSecondUser;

} // namespace

TEST_F(SecondUser, BothLoadPlaylistsAndCheckForUpdatesAndNeitherTouchesTheOthersFiles)
{
    const test::SRun juke = Playlist(m_first, u"juke.txt"_s);
    ASSERT_EQ(juke.exitCode, 1) << juke.err.constData(); // the songs' files are not there
    EXPECT_TRUE(juke.out.contains("First Song"));
    const test::SRun bar = Playlist(m_first, u"bar.txt"_s);
    EXPECT_TRUE(bar.out.contains("My Song")) << bar.err.constData();
    EXPECT_EQ(CheckForUpdate(m_first).exitCode, 1);
    ASSERT_TRUE(IsPrivateTo(WorkFolder(m_first), m_first.uid));
    const QMap<QString, QString> firstFiles = Snapshot(WorkFolder(m_first));
    ASSERT_FALSE(firstFiles.isEmpty());

    // The second user, after the first: the same answers, from work files of their own.
    const test::SRun secondJuke = Playlist(m_second, u"juke.txt"_s);
    EXPECT_EQ(secondJuke.exitCode, juke.exitCode) << secondJuke.err.constData();
    EXPECT_FALSE(secondJuke.err.contains("Error Open PlayList"));
    EXPECT_EQ(secondJuke.out, juke.out);
    EXPECT_EQ(Playlist(m_second, u"bar.txt"_s).out, bar.out);
    const test::SRun secondUpdate = CheckForUpdate(m_second);
    EXPECT_EQ(secondUpdate.exitCode, 1) << secondUpdate.err.constData();
    EXPECT_TRUE(secondUpdate.out.endsWith("Update available: 1.0.0.16\n"));
    EXPECT_TRUE(IsPrivateTo(WorkFolder(m_second), m_second.uid));
    EXPECT_EQ(Snapshot(WorkFolder(m_first)), firstFiles);

    // The second user's work files are out of the first user's program's way, and the first
    // user's are out of the second user's reach altogether.
    const QMap<QString, QString> secondFiles = Snapshot(WorkFolder(m_second));
    EXPECT_FALSE(secondFiles.isEmpty());
    EXPECT_EQ(Playlist(m_first, u"juke.txt"_s).out, juke.out);
    EXPECT_EQ(CheckForUpdate(m_first).exitCode, 1);
    EXPECT_EQ(Snapshot(WorkFolder(m_second)), secondFiles);
    QProcess shell; // the second user tries to look into the first user's folder, or write there
    shell.start(m_setpriv, {u"--reuid=%1"_s.arg(m_second.uid), u"--regid=%1"_s.arg(m_second.gid), u"--clear-groups"_s,
                            u"--"_s, u"/bin/sh"_s, u"-c"_s,
                            u"ls \"$1\" 2>/dev/null && exit 0; touch \"$1/LoadJuke/x\" 2>/dev/null && exit 0; exit 7"_s,
                            u"sh"_s, WorkFolder(m_first)});
    shell.waitForFinished(10000);
    EXPECT_EQ(shell.exitCode(), 7);
    EXPECT_EQ(Snapshot(WorkFolder(m_first)).keys(), firstFiles.keys());
}
