// velmora-updater replacing a program in a temporary program folder.
#include "TestSupport.h"
#include "update/LoopbackServer.h"

#include "update/UpdateInstall.h"
#include "update/UpdateJournal.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

// Every file below folder (hidden ones too) with its mode and SHA-256, by relative path; the
// file the restarted program writes is left out.
QMap<QString, QString> Snapshot(const QString &folder)
{
    QMap<QString, QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (relative == u"started"_s)
            continue;
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        files.insert(relative, QString::number(info.st_mode, 8) + u' ' + FileSha256(path));
    }
    return files;
}

// A small tmpfs of our own at folder, for a full disk and a read-only folder; unmounted when
// the object goes.
class CScratchMount
{
public:
    CScratchMount(const QString &folder, const char *size)
        : m_folder(QFile::encodeName(folder))
        , m_bMounted(::mount("tmpfs", m_folder.constData(), "tmpfs", 0,
                             (QByteArray("mode=0755,size=") + size).constData()) == 0)
    {
    }
    ~CScratchMount()
    {
        if (m_bMounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    CScratchMount(const CScratchMount &) = delete;
    CScratchMount &operator=(const CScratchMount &) = delete;

    bool IsMounted() const { return m_bMounted; }
    bool MakeReadOnly()
    {
        return ::mount(nullptr, m_folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QByteArray m_folder;
    bool m_bMounted;
};

class CUpdaterMatrix : public CUpdaterFixture
{
protected:
    void SetUp() override
    {
        CUpdaterFixture::SetUp();
        test::WriteBytes(Program(u"lib/data.so"_s), "old library");
        test::WriteBytes(Update(u"data.so"_s), "new library");
        test::WriteBytes(Update(u"manual.txt"_s), "new manual");
    }
    QStringList Package() const
    {
        return {Record(u"velmora"_s, {}), Record(u"data.so"_s, {}, u"lib"_s), Record(u"manual.txt"_s, {}, u"doc"_s)};
    }
    SUpdaterRequest Request() const
    {
        return {u"http://127.0.0.1:%1/x86/update/"_s.arg(test::ClosedLoopbackPort()), m_program.path(), m_user.path(),
                m_update.path(), u"Velmora.exe"_s, Package()};
    }
    // The program folder after a good install.
    void ExpectNewFiles()
    {
        EXPECT_EQ(test::ReadBytes(Program()), ProgramScript("new"));
        EXPECT_EQ(test::ReadBytes(Program(u"lib/data.so"_s)), "new library");
        EXPECT_EQ(test::ReadBytes(Program(u"doc/manual.txt"_s)), "new manual");
        EXPECT_EQ(Snapshot(m_program.path()).keys(),
                  (QStringList{u"doc/manual.txt"_s, u"lib/data.so"_s, u"velmora"_s}));
    }
    // Runs the install in a child process that is killed at its step-th change to the program
    // folder; true when it was killed there.
    bool InstallKilledAt(int step)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            int changes = 0;
            QString error;
            InstallUpdateFiles(Request(), &error, [&] {
                if (++changes == step)
                    ::raise(SIGKILL);
            });
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }
};

} // namespace

// Whatever makes an install fail, every old file stays byte for byte as it was, nothing new
// is left beside it, and the old program is started again.
TEST_F(CUpdaterMatrix, EveryFailureLeavesEveryOldFile)
{
    test::CLoopbackServer server; // answers 404 for what it does not have
    const QMap<QString, QString> before = Snapshot(m_program.path());
    const QString sum = FileSha256(Update(u"velmora"_s));
    const QList<QPair<const char *, QStringList>> failures{
        {"a file missing on the server", Package() + QStringList{Record(u"absent.so"_s, {})}},
        {"a bad checksum", {Record(u"velmora"_s, sum), Record(u"data.so"_s, QString(64, u'a'), u"lib"_s)}},
        {"two records for one target", Package() + QStringList{Record(u"velmora"_s, sum)}},
        {"one target by two spellings", {Record(u"velmora"_s, {}), Record(u"./velmora"_s, {}, u"."_s)}},
        {"one target through a folder", {Record(u"data.so"_s, {}, u"lib"_s), Record(u"lib/data.so"_s, {})}},
        {"a refused record", Package() + QStringList{Record(u"../escape"_s, {})}},
    };
    for (const auto &[what, records] : failures) {
        QFile::remove(Program(u"started"_s));
        QProcess updater;
        updater.start(QStringLiteral(VELMORA_UPDATER_BINARY),
                      QStringList{server.Url(u"x86/update/"_s), m_program.path(), m_user.path(), m_update.path(),
                                  u"[KILL]|Velmora.exe||"_s}
                          + records);
        ASSERT_TRUE(updater.waitForFinished(30000));
        EXPECT_EQ(updater.exitCode(), 1) << what;
        EXPECT_TRUE(updater.readAllStandardError().contains("the old files are kept")) << what;
        EXPECT_EQ(Snapshot(m_program.path()), before) << what;
        EXPECT_EQ(Started(), u"old -iDodOdevOdiviz"_s) << what;
    }
    EXPECT_FALSE(QFile::exists(Update(u"absent.so"_s)));
    QFile::remove(Program(u"started"_s));
    EXPECT_EQ(RunUpdater(Package()), 0);
    ExpectNewFiles();
    EXPECT_EQ(Started(), u"new -iDodOdevOdiviz"_s);
}

TEST_F(CUpdaterMatrix, AnUnwritableFolderChangesNothing)
{
    const QString lib = Program(u"lib"_s);
    std::optional<CScratchMount> mount;
    if (::geteuid() == 0) {
        // Permissions do not stop root; a read-only file system does.
        mount.emplace(lib, "1m");
        if (!mount->IsMounted())
            GTEST_SKIP() << "running as root, and this sandbox does not let us mount a read-only folder";
        test::WriteBytes(Program(u"lib/data.so"_s), "old library");
        ASSERT_TRUE(mount->MakeReadOnly());
    } else {
        ASSERT_TRUE(QFile::setPermissions(lib, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const QMap<QString, QString> before = Snapshot(m_program.path());
    EXPECT_EQ(RunUpdater(Package()), 1);
    EXPECT_EQ(Snapshot(m_program.path()), before);
    EXPECT_EQ(Started(), u"old -iDodOdevOdiviz"_s);
    if (!mount)
        QFile::setPermissions(lib, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(CUpdaterMatrix, AFullDiskChangesNothing)
{
    // The program folder on a file system of 256 KiB that the old files half fill.
    QTemporaryDir folder;
    CScratchMount mount(folder.path(), "256k");
    if (!mount.IsMounted())
        GTEST_SKIP() << "this sandbox does not let us mount a small file system to fill";
    const QString program = folder.filePath(u"velmora"_s);
    test::WriteBytes(program, ProgramScript("old"));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    test::WriteBytes(folder.filePath(u"data.so"_s), QByteArray(100 * 1024, 'o'));
    test::WriteBytes(Update(u"data.so"_s), QByteArray(200 * 1024, 'n'));
    struct statvfs space {};
    ::statvfs(QFile::encodeName(folder.path()).constData(), &space);
    const QMap<QString, QString> before = Snapshot(folder.path());

    QProcess updater;
    updater.start(QStringLiteral(VELMORA_UPDATER_BINARY),
                  QStringList{u"http://127.0.0.1:%1/"_s.arg(test::ClosedLoopbackPort()), folder.path(), m_user.path(),
                              m_update.path(), u"[KILL]|Velmora.exe||"_s, Record(u"velmora"_s, {}),
                              Record(u"data.so"_s, {})});
    ASSERT_TRUE(updater.waitForFinished(30000));
    EXPECT_EQ(updater.exitCode(), 1);
    EXPECT_TRUE(updater.readAllStandardError().contains("cannot copy"));
    EXPECT_EQ(Snapshot(folder.path()), before);
    // The old program started again writes its "started"; without it, every block is free
    // again that was free before.
    const QDeadlineTimer deadline(10000);
    while (!test::ReadBytes(folder.filePath(u"started"_s)).endsWith('\n') && !deadline.hasExpired())
        QThread::msleep(50);
    QFile::remove(folder.filePath(u"started"_s));
    struct statvfs after {};
    ::statvfs(QFile::encodeName(folder.path()).constData(), &after);
    EXPECT_EQ(after.f_bfree, space.f_bfree);
}

// The updater killed at each change it makes, from the first stage file to the last old file
// removed. Starting the old program then (which undoes what was cut short) gives the old
// files back; starting the updater again (which undoes it first too) installs the new ones.
TEST_F(CUpdaterMatrix, ACrashAtAnyStepLeavesNothingHalfInstalled)
{
    const QMap<QString, QString> before = Snapshot(m_program.path());
    // Three stage files, the journal sealed, then backup and rename of velmora and
    // lib/data.so, the rename of the new doc/manual.txt, the journal marked done, the old
    // files removed.
    constexpr int kChanges = 11;
    constexpr int kSealStep = 4;
    constexpr int kDoneStep = 10;
    for (int step = 1; step <= kChanges; ++step) {
        ASSERT_TRUE(InstallKilledAt(step)) << step;
        EXPECT_EQ(QFile::exists(Program(QString::fromUtf16(kUpdateJournalName))), step >= kSealStep) << step;
        QString error;
        EXPECT_TRUE(RecoverInterruptedUpdate(m_program.path(), &error)) << step << error.toStdString();
        if (step < kDoneStep)
            EXPECT_EQ(Snapshot(m_program.path()), before) << step;
        else
            ExpectNewFiles(); // every new file was in place: the install is finished instead
        EXPECT_FALSE(QFile::exists(Program(QString::fromUtf16(kUpdateJournalName))));
        SetUp(); // the old files again
        QDir(Program(u"doc"_s)).removeRecursively();
    }
    EXPECT_FALSE(InstallKilledAt(kChanges + 1)); // there are no more steps than these

    SetUp();
    QDir(Program(u"doc"_s)).removeRecursively();
    ASSERT_TRUE(InstallKilledAt(6)); // velmora replaced, the library not
    EXPECT_EQ(RunUpdater(Package()), 0);
    ExpectNewFiles();
    EXPECT_EQ(Started(), u"new -iDodOdevOdiviz"_s);
}

// The old program itself puts the old files back at its start, before anything else.
TEST_F(CUpdaterMatrix, TheOldProgramUndoesAnInterruptedInstallAtItsStart)
{
    QFile::remove(Program());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_BINARY), Program()));
    QFile::setPermissions(Program(), QFile::permissions(Program()) | QFileDevice::ExeOwner);
    const QMap<QString, QString> before = Snapshot(m_program.path());
    SUpdaterRequest request = Request();
    request.fileRecords = {Record(u"data.so"_s, {}, u"lib"_s), Record(u"manual.txt"_s, {}, u"doc"_s)};
    const pid_t child = ::fork();
    if (child == 0) {
        int changes = 0;
        QString error;
        InstallUpdateFiles(request, &error, [&] {
            if (++changes == 5) // the library replaced, the manual not yet in
                ::raise(SIGKILL);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(test::ReadBytes(Program(u"lib/data.so"_s)), "new library");

    QProcess program;
    program.start(Program(), {u"--version"_s});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Velmora "));
    EXPECT_EQ(Snapshot(m_program.path()), before);
}
