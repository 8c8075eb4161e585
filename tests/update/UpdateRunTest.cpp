// The update run against a web server on 127.0.0.1: manifest, decision, package, hand-over.
#include "TestSupport.h"
#include "update/LoopbackServer.h"
#include "update/UpdateFixture.h"
#include "update/ZipTestArchive.h"

#include "update/AutoUpdater.h"
#include "update/UpdateRun.h"
#include "update/UpdaterLaunch.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// An updater that only writes down the parameters it was started with.
constexpr char kStandInUpdater[] = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n";

QString Manifest(const QString &version, const QString &package = u"DodOdevOdiviz.zip"_s)
{
    return u"[HEADER]\nAPPTITLE=Velmora\nFILENUMBER=1\nFILENAME=Velmora.exe\nFILEVERSION=%1\n"
           "[UPDATE]\nFILENAME=%2\nVERSION=1.0.0.3\n[FILE1]\nFILENAME=velmora\nVERSION=%1\n"_s.arg(version, package);
}

// Waits for the started updater to write its parameters; empty when it never does.
QStringList WaitForArguments(const QString &path)
{
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n'))
                return QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts);
        }
        QThread::msleep(50);
    }
    return {};
}

class CRunFixture : public test::CUpdateFixture
{
protected:
    void Publish(const QString &name, const QByteArray &bytes)
    {
        test::WriteBytes(m_server.Path(test::CLoopbackServer::ChannelPath(name)), bytes);
    }
    void PublishPackage(const QByteArray &updater = kStandInUpdater)
    {
        Publish(u"DodOdevOdiviz.zip"_s, test::BuildZip({{"DodOdevOdiviz.exe", updater, true}}));
    }
    QString Folder(const QString &name = {}) const { return m_updateFolder.filePath(name); }
    SUpdateRun Run(const QString &manifest = u"update.ini"_s, int check = 1)
    {
        return RunUpdate(m_server.Host(), m_updateFolder.path(), u"Update"_s, manifest, check, false);
    }

    test::CLoopbackServer m_server;
};

} // namespace

TEST(PrepareUpdateFolder, DeletesOnlyTheLeftoversOrCreates)
{
    QTemporaryDir dir;
    const QStringList leftovers{u"update-copy.ini"_s, u"update-debug.ini"_s, u"update-last.ini"_s, u"update-manual.ini"_s,
                                u"mine.ini"_s, u"DodOdevOdiviz.zip"_s, u"DodOdevOdiviz.exe"_s};
    for (const QString &name : leftovers + QStringList{u"keep.txt"_s})
        test::WriteBytes(dir.filePath(name), "x");
    PrepareUpdateFolder(dir.path(), u"mine.ini"_s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"keep.txt"_s});
    PrepareUpdateFolder(dir.filePath(u"new/Update_002"_s), u"update.ini"_s);
    EXPECT_TRUE(QDir(dir.filePath(u"new/Update_002"_s)).exists());
}

TEST(MustFetchPackage, NewerVersionLaterBuildOrNotMadeToday)
{
    QTemporaryDir dir;
    const QString package = dir.filePath(u"DodOdevOdiviz.exe"_s);
    EXPECT_TRUE(MustFetchPackage(package, u"1.0"_s, {}));
    QFile::copy(QStringLiteral(VELMORA_UPDATER_BINARY), package); // version 1.0.0.15, made today
    const QDate today = QDate::currentDate();
    EXPECT_FALSE(MustFetchPackage(package, u"1.0.0.15"_s, {}, today));
    EXPECT_TRUE(MustFetchPackage(package, u"1.0.0.16"_s, {}, today));
    EXPECT_FALSE(MustFetchPackage(package, {}, u"2000-01-01"_s, today));
    EXPECT_TRUE(MustFetchPackage(package, {}, u"2999-01-01"_s, today));
    EXPECT_FALSE(MustFetchPackage(package, {}, {}, today));
    // Made yesterday: fetched again although its version is the one on offer.
    EXPECT_TRUE(MustFetchPackage(package, u"1.0.0.15"_s, {}, today.addDays(1)));
}

TEST_F(CRunFixture, CheckUpdateUnpacksTheUpdaterAndDeletesTheArchive)
{
    PublishPackage();
    CAutoUpdater updater;
    updater.SetBaseUrl(m_server.Url(test::CLoopbackServer::ChannelPath({})));
    QStringList records{u"[HEADER]|Velmora|1|Velmora.exe|1.0.0.16"_s, u"[update]|DodOdevOdiviz.zip|||"_s};
    EXPECT_EQ(CheckUpdate(records, updater, Folder()), Folder(u"DodOdevOdiviz.exe"_s));
    EXPECT_EQ(records, QStringList{u"[HEADER]|Velmora|1|Velmora.exe|1.0.0.16"_s});
    EXPECT_EQ(test::ReadBytes(Folder(u"DodOdevOdiviz.exe"_s)), QByteArray(kStandInUpdater));
    EXPECT_FALSE(QFile::exists(Folder(u"DodOdevOdiviz.zip"_s)));
    EXPECT_EQ(CheckUpdate(records, updater, Folder()), QString()); // no [UPDATE] record left
}

TEST_F(CRunFixture, HostilePackagesStayInsideTheUpdateFolder)
{
    QTemporaryDir outside;
    const QByteArray climb = QDir(Folder()).relativeFilePath(outside.filePath(u"escaped.exe"_s)).toUtf8();
    Publish(u"slip.zip"_s, test::BuildZip({{climb, "evil"}, {"/abs/evil.exe", "evil"}, {"../../DodOdevOdiviz.exe", "ok"}}));
    CAutoUpdater updater;
    updater.SetBaseUrl(m_server.Url(test::CLoopbackServer::ChannelPath({})));
    QStringList records{u"[UPDATE]|slip.zip|||"_s};
    EXPECT_EQ(CheckUpdate(records, updater, Folder()), Folder(u"DodOdevOdiviz.exe"_s));
    EXPECT_TRUE(QDir(outside.path()).isEmpty());
    EXPECT_TRUE(QFile::exists(Folder(u"abs/evil.exe"_s)));

    // A bomb is refused whole: nothing of it is written.
    test::SZipTestMember bomb{"bomb.bin", QByteArray(1 << 20, '\0'), true};
    bomb.declaredSize = quint32(kMaxPackageBytes + 1);
    Publish(u"bomb.zip"_s, test::BuildZip({{"first.exe", "x"}, bomb}));
    records = {u"[UPDATE]|bomb.zip|||"_s};
    EXPECT_EQ(CheckUpdate(records, updater, Folder()), Folder(u"bomb.zip"_s));
    EXPECT_FALSE(QFile::exists(Folder(u"first.exe"_s)));
    EXPECT_FALSE(QFile::exists(Folder(u"bomb.zip"_s)));

    // A package name that climbs is never fetched to where it points.
    records = {u"[UPDATE]|../../climb.exe|||"_s};
    CheckUpdate(records, updater, Folder(u"deep/er"_s));
    EXPECT_FALSE(QFile::exists(Folder(u"climb.exe"_s)));
}

TEST_F(CRunFixture, NewerVersionStartsTheUpdaterWithItsParameters)
{
    Publish(u"update.ini"_s, Manifest(u"1.0.0.16"_s).toUtf8());
    PublishPackage();
    const SUpdateRun run = Run();
    ASSERT_EQ(run.eResult, EUpdateRun::Started);
    const QStringList arguments = WaitForArguments(Folder(u"DodOdevOdiviz.exe.args"_s));
    ASSERT_EQ(arguments.size(), 7);
    EXPECT_EQ(arguments[0], m_server.Url(test::CLoopbackServer::ChannelPath({}))); // channel lower-cased
    EXPECT_EQ(arguments[1], m_programFolder.path());
    EXPECT_EQ(arguments[3], Folder());
    EXPECT_EQ(arguments[4], u"[KILL]|Velmora.exe||"_s);
    EXPECT_EQ(arguments[5], u"[HEADER]|Velmora|1|Velmora.exe|1.0.0.16"_s);
    EXPECT_EQ(arguments[6], u"[FILE]|velmora|1.0.0.16|||"_s);
    EXPECT_EQ(m_prompt.m_questions.size(), 1);
    EXPECT_EQ(UpdaterParameterText({u"http://h/"_s, u"a b"_s, u"[KILL]|Velmora.exe||"_s}),
              u"http://h/ \"a b\" \"[KILL]|Velmora.exe||\""_s);
}

TEST_F(CRunFixture, EqualVersionDeclinedOrNoManifestStartNothing)
{
    Publish(u"update.ini"_s, Manifest(u"1.0.0.15"_s).toUtf8());
    PublishPackage();
    EXPECT_EQ(Run().eResult, EUpdateRun::NoUpdate);
    EXPECT_FALSE(QFile::exists(Folder(u"update.ini"_s)));
    EXPECT_FALSE(QFile::exists(Folder(u"DodOdevOdiviz.exe"_s)));

    Publish(u"update.ini"_s, Manifest(u"1.0.0.16"_s).toUtf8());
    m_prompt.m_answer = EPromptAnswer::No;
    EXPECT_EQ(Run().eResult, EUpdateRun::Declined);
    EXPECT_FALSE(QFile::exists(Folder(u"DodOdevOdiviz.exe"_s)));
    // No is no, even where the versions are not checked.
    Publish(u"update-debug.ini"_s, Manifest(u"1.0.0.16"_s).toUtf8());
    EXPECT_EQ(Run(u"update-debug.ini"_s).eResult, EUpdateRun::Declined);

    // A 404 answer is no manifest, and its page is not kept.
    EXPECT_EQ(Run(u"absent.ini"_s).eResult, EUpdateRun::NoManifest);
    EXPECT_FALSE(QFile::exists(Folder(u"absent.ini"_s)));
    EXPECT_EQ(RunUpdate(u"127.0.0.1:%1"_s.arg(test::ClosedLoopbackPort()), Folder(), u"update"_s, u"update.ini"_s, 1,
                        false).eResult,
              EUpdateRun::NoManifest);
    EXPECT_EQ(RunUpdate(u"h;touch x"_s, Folder(), u"update"_s, u"update.ini"_s, 1, false).eResult,
              EUpdateRun::NoManifest);
}

TEST_F(CRunFixture, DebugManifestForcesTheUpdateAtEqualVersions)
{
    Publish(u"update-debug.ini"_s, Manifest(u"1.0.0.15"_s).toUtf8());
    PublishPackage();
    EXPECT_EQ(Run(u"Update-Debug.ini"_s).eResult, EUpdateRun::Started);
    EXPECT_EQ(WaitForArguments(Folder(u"DodOdevOdiviz.exe.args"_s)).value(4), u"[KILL]|Velmora.exe||"_s);
    EXPECT_TRUE(m_prompt.m_questions.isEmpty());
}

TEST_F(CRunFixture, MissingPackageOrUpdaterIsNoUpdate)
{
    Publish(u"update.ini"_s, Manifest(u"1.0.0.16"_s, u"gone.zip"_s).toUtf8());
    EXPECT_EQ(Run().eResult, EUpdateRun::NoUpdater);
    Publish(u"update.ini"_s, Manifest(u"1.0.0.16"_s).toUtf8());
    Publish(u"DodOdevOdiviz.zip"_s, "PK not really a zip");
    EXPECT_EQ(Run().eResult, EUpdateRun::NoUpdater); // the archive itself is gone too
    EXPECT_FALSE(QFile::exists(Folder(u"DodOdevOdiviz.zip"_s)));
}

TEST(UpdaterVerb, RunasOnlyWhereTheProgramFolderIsNotOurs)
{
    QTemporaryDir dir;
    EXPECT_EQ(UpdaterVerb(dir.path()), u"open"_s);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(UpdaterVerb(dir.path()), ::geteuid() == 0 ? u"open"_s : u"runas"_s);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// The [UPDATE] FILENAME names a file of the channel folder. Anything else is refused before
// a byte is fetched or a file is touched, as a failed fetch is: nothing outside the update
// folder is unpacked, deleted, made executable or started.
TEST_F(CRunFixture, UpdateFileNamesThatAreNotPlainAreRefused)
{
    const QString updateFolder = Folder(u"a/b"_s);
    ASSERT_TRUE(QDir().mkpath(updateFolder));
    const QByteArray victim = test::BuildZip({{"evil.exe", kStandInUpdater}});
    test::WriteBytes(Folder(u"a/victim.zip"_s), victim);
    test::WriteBytes(Folder(u"tool.sh"_s), kStandInUpdater); // made today
    CAutoUpdater updater;
    updater.SetBaseUrl(m_server.Url(test::CLoopbackServer::ChannelPath({})));
    for (const QString &name : {u"../victim.zip"_s, u"../../tool.sh"_s, u"sub/x.zip"_s, u"sub\\x.zip"_s,
                                u"/abs/x.zip"_s, u"C:x.zip"_s, u"C:\\x.zip"_s, u".."_s, u"."_s}) {
        QStringList records{u"[HEADER]|Velmora|1|Velmora.exe|1.0.0.16"_s, u"[UPDATE]|"_s + name + u"|1.0.0.3||"_s};
        EXPECT_EQ(CheckUpdate(records, updater, updateFolder), QString()) << name.toStdString();
        EXPECT_EQ(records, QStringList{u"[HEADER]|Velmora|1|Velmora.exe|1.0.0.16"_s});
    }
    EXPECT_EQ(test::ReadBytes(Folder(u"a/victim.zip"_s)), victim);
    EXPECT_TRUE(QDir(updateFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    Publish(u"update.ini"_s, Manifest(u"1.0.0.16"_s, u"../../tool.sh"_s).toUtf8());
    EXPECT_EQ(RunUpdate(m_server.Host(), updateFolder, u"Update"_s, u"update.ini"_s, 1, false).eResult,
              EUpdateRun::NoUpdater);
    EXPECT_FALSE(QFile::permissions(Folder(u"tool.sh"_s)) & QFileDevice::ExeOwner);
    EXPECT_FALSE(QFile::exists(Folder(u"tool.sh.args"_s)));
    EXPECT_EQ(test::ReadBytes(Folder(u"tool.sh"_s)), QByteArray(kStandInUpdater));
}
