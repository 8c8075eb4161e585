// Downloads against a web server on 127.0.0.1 that the test starts and stops.
#include "TestSupport.h"
#include "update/LoopbackServer.h"
#include "update/UpdateFixture.h"

#include "update/AutoUpdater.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class CDownloadFixture : public test::CUpdateFixture
{
protected:
    QString Local(const QString &name) const { return m_updateFolder.filePath(name); }

    test::CLoopbackServer m_server;
    CAutoUpdater m_updater;
};

} // namespace

TEST(CanonicalizeUrl, EscapesUnsafeCharactersAndLimitsLength)
{
    EXPECT_EQ(CanonicalizeUrl(u"http://h/a b/c\"d<e>.zip"_s), "http://h/a%20b/c%22d%3Ce%3E.zip");
    EXPECT_EQ(CanonicalizeUrl(u"http://h/sub\\ä#x"_s), "http://h/sub/%C3%A4%23x");
    EXPECT_EQ(CanonicalizeUrl(u"http://h/already%20escaped"_s), "http://h/already%20escaped");
    EXPECT_EQ(CanonicalizeUrl(u"http://h/"_s + QString(1014, u'a')).size(), 1023);
    EXPECT_EQ(CanonicalizeUrl(u"http://h/"_s + QString(1015, u'a')), QByteArray());
}

TEST_F(CDownloadFixture, FetchesFilesButNeverErrorPages)
{
    test::WriteBytes(m_server.Path(u"dir/update.ini"_s), "[HEADER]\r\nAPPTITLE=Velmora\r\n");
    m_updater.SetBaseUrl(m_server.Url(u"dir"_s));
    EXPECT_EQ(m_updater.BaseUrl(), m_server.Url(u"dir/"_s));
    EXPECT_EQ(m_updater.Download(u"update.ini"_s, m_updateFolder.path()), kDownloadDone);
    EXPECT_EQ(test::ReadBytes(Local(u"update.ini"_s)), "[HEADER]\r\nAPPTITLE=Velmora\r\n");

    // A missing file arrives as the server's error page, which is no file.
    EXPECT_EQ(m_updater.Download(u"missing.ini"_s, m_updateFolder.path() + u"/new/"_s), kDownloadNoUrl);
    EXPECT_FALSE(QFile::exists(Local(u"new/missing.ini"_s)));
    EXPECT_FALSE(QFile::exists(Local(u"new/missing.ini.part"_s)));

    // The status after the redirects decides; any other status is a failed download.
    m_updater.SetBaseUrl(m_server.Url(u"redirect/dir/"_s));
    EXPECT_EQ(m_updater.Download(u"update.ini"_s, Local(u"moved"_s)), kDownloadDone);
    EXPECT_EQ(test::ReadBytes(Local(u"moved/update.ini"_s)), "[HEADER]\r\nAPPTITLE=Velmora\r\n");
    EXPECT_EQ(m_updater.Download(u"absent.ini"_s, Local(u"moved"_s)), kDownloadNoUrl);
    for (const int status : {204, 500, 403, 304, 101}) {
        m_updater.SetBaseUrl(m_server.Url(u"status/%1/"_s.arg(status)));
        const int expected = status == 204 ? kDownloadDone : kDownloadNoUrl;
        EXPECT_EQ(m_updater.Download(u"page.ini"_s, Local(u"status"_s)), expected) << status;
    }
    EXPECT_EQ(QDir(Local(u"status"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{u"page.ini"_s});

    // An error page never replaces a file that is there.
    m_updater.SetBaseUrl(m_server.Url(u"dir"_s));
    EXPECT_EQ(m_updater.Download(u"missing.ini"_s, m_updateFolder.path()), kDownloadNoUrl);
    test::WriteBytes(Local(u"gone.ini"_s), "kept");
    EXPECT_EQ(m_updater.Download(u"gone.ini"_s, m_updateFolder.path()), kDownloadNoUrl);
    EXPECT_EQ(test::ReadBytes(Local(u"gone.ini"_s)), "kept");
}

// FTP answers the same way: a file the server has arrives, a missing one is no file.
TEST_F(CDownloadFixture, FtpDownloadsTakeOnlyWhatTheServerHas)
{
    test::CLoopbackServer ftp(test::CLoopbackServer::Ftp);
    test::WriteBytes(ftp.Path(u"dir/update.ini"_s), "[HEADER]\r\nAPPTITLE=Velmora\r\n");
    m_updater.SetBaseUrl(ftp.Url(u"dir/"_s));
    EXPECT_EQ(m_updater.Download(u"update.ini"_s, m_updateFolder.path()), kDownloadDone);
    EXPECT_EQ(test::ReadBytes(Local(u"update.ini"_s)), "[HEADER]\r\nAPPTITLE=Velmora\r\n");
    EXPECT_EQ(m_updater.Download(u"missing.ini"_s, m_updateFolder.path()), kDownloadNoUrl);
    EXPECT_EQ(QDir(m_updateFolder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"update.ini"_s});
}

TEST_F(CDownloadFixture, NeverWritesThroughALink)
{
    QTemporaryDir mine;
    const QString victim = mine.filePath(u"victim"_s);
    test::WriteBytes(victim, "precious");
    test::WriteBytes(m_server.Path(u"update.ini"_s), "manifest");
    ASSERT_TRUE(QFile::link(victim, Local(u"update.ini.part"_s)));
    ASSERT_TRUE(QFile::link(victim, Local(u"update.ini"_s)));
    m_updater.SetBaseUrl(m_server.Url());
    EXPECT_EQ(m_updater.Download(u"update.ini"_s, m_updateFolder.path()), kDownloadDone);
    EXPECT_EQ(test::ReadBytes(victim), "precious");
    EXPECT_FALSE(QFileInfo(Local(u"update.ini"_s)).isSymLink());
    EXPECT_EQ(test::ReadBytes(Local(u"update.ini"_s)), "manifest");
    EXPECT_FALSE(QFileInfo::exists(Local(u"update.ini.part"_s)));
}

TEST_F(CDownloadFixture, NoConnectionUnreachableAndUnwritable)
{
    SetInternetConnectionOverride(false);
    m_updater.SetBaseUrl(m_server.Url());
    EXPECT_TRUE(m_updater.OpenRequest(u"x"_s));
    EXPECT_EQ(m_updater.Download(u"x"_s, m_updateFolder.path()), kDownloadNoConnection);
    SetInternetConnectionOverride(std::nullopt);

    m_updater.SetBaseUrl(u"http://127.0.0.1:%1/"_s.arg(test::ClosedLoopbackPort()));
    EXPECT_EQ(m_updater.Download(u"update.ini"_s, m_updateFolder.path()), kDownloadNoUrl);
    EXPECT_FALSE(QFile::exists(Local(u"update.ini"_s)));
    m_updater.SetBaseUrl(u"file:///etc/"_s);
    EXPECT_FALSE(m_updater.OpenRequest(u"passwd"_s));
    EXPECT_EQ(m_updater.Download(u"passwd"_s, m_updateFolder.path()), kDownloadNoUrl);

    test::WriteBytes(m_server.Path(u"f"_s), "data");
    m_updater.SetBaseUrl(m_server.Url());
    test::WriteBytes(Local(u"blocker"_s), "a file where a folder should be");
    EXPECT_EQ(m_updater.Download(u"f"_s, Local(u"blocker"_s)), kDownloadFileFailed);
}

TEST_F(CDownloadFixture, ClimbingNamesAreNeverWrittenOutside)
{
    test::WriteBytes(m_server.Path(u"evil"_s), "evil");
    m_updater.SetBaseUrl(m_server.Url(u"a/b/"_s));
    const QString inner = Local(u"inner"_s);
    for (const QString &name : {u"../../evil"_s, u"..\\..\\evil"_s, u"/tmp/evil"_s, u"sub/../../evil"_s})
        EXPECT_EQ(m_updater.Download(name, inner), kDownloadFileFailed) << name.toStdString();
    EXPECT_FALSE(QFile::exists(Local(u"evil"_s)));
    EXPECT_FALSE(QFile::exists(m_updateFolder.path() + u"/../evil"_s));
}

TEST_F(CDownloadFixture, CutStalledAndOversizedTransfersLeaveNoFile)
{
    m_updater.SetBaseUrl(m_server.Url());
    test::WriteBytes(Local(u"cut/package.zip"_s), "old complete file");
    EXPECT_EQ(m_updater.Download(u"cut/package.zip"_s, m_updateFolder.path()), kDownloadFileFailed);
    EXPECT_EQ(test::ReadBytes(Local(u"cut/package.zip"_s)), "old complete file");

    m_updater.SetStallSeconds(1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(m_updater.Download(u"stall/update.ini"_s, m_updateFolder.path()), kDownloadFileFailed);
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_FALSE(QFile::exists(Local(u"stall/update.ini"_s)));

    test::WriteBytes(m_server.Path(u"big"_s), QByteArray(100000, 'b'));
    m_updater.SetMaxBytes(50000);
    EXPECT_EQ(m_updater.Download(u"big"_s, m_updateFolder.path()), kDownloadFileFailed);
    EXPECT_FALSE(QFile::exists(Local(u"big"_s)));
}
