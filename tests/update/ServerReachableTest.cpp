#include "TestSupport.h"
#include "update/LoopbackServer.h"
#include "update/UpdateFixture.h"

#include "update/UpdateCommands.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A ping tool in the program folder that prints the reply file and counts its runs.
class CPingFixture : public test::CUpdateFixture
{
protected:
    void SetUp() override
    {
        test::CUpdateFixture::SetUp();
        InstallPingTool("echo \"$@\" >> \"$(dirname \"$0\")/runs\"\ncat \"$(dirname \"$0\")/reply\"\n");
        SetUpdateHostOverride(u"updates.example.test"_s);
        // The name is never looked up; only the stand-in tool above is asked about it.
        SetInternetConnectionOverride(true);
    }
    void Reply(const QByteArray &text) { test::WriteBytes(m_programFolder.filePath(u"reply"_s), text); }
    QStringList Runs() const
    {
        return QString::fromUtf8(test::ReadBytes(m_programFolder.filePath(u"runs"_s))).split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace

TEST(PingOutputVerdict, FirstWordRule)
{
    QString word;
    EXPECT_EQ(PingOutputVerdict(u"203.0.113.5 replied in 12 ms\n"_s, &word), 1);
    EXPECT_EQ(word, u"203.0.113.5"_s);
    EXPECT_EQ(PingOutputVerdict(u"192.168.1.10 replied in 1 ms"_s), 0);
    EXPECT_EQ(PingOutputVerdict(u"127.0.0.1 replied in 0 ms"_s), 0);
    EXPECT_EQ(PingOutputVerdict(u"Request timed out."_s), 0);
    EXPECT_EQ(PingOutputVerdict(u""_s), 0);
}

TEST_F(CPingFixture, CachedUnlessFreshAndZeroWithoutConnection)
{
    Reply("203.0.113.5 replied in 12 ms\n");
    EXPECT_EQ(IsServerReachable(0), 1);
    EXPECT_EQ(Runs(), QStringList{u"updates.example.test -n:1 -w:3000"_s});
    EXPECT_EQ(IsServerReachable(0), 1);
    EXPECT_EQ(Runs().size(), 1); // the cached answer, no process run

    SetInternetConnectionOverride(false);
    EXPECT_EQ(IsServerReachable(0), 0);
    EXPECT_EQ(IsServerReachable(1), 0);
    EXPECT_EQ(Runs().size(), 1);
    SetInternetConnectionOverride(true);

    Reply("192.168.1.10 replied in 1 ms\n");
    EXPECT_EQ(IsServerReachable(0), 1);
    EXPECT_EQ(IsServerReachable(1), 0); // a fresh test overwrites the cache
    EXPECT_EQ(IsServerReachable(0), 0);
    EXPECT_EQ(Runs().size(), 2);
}

TEST_F(CPingFixture, HostsWithShellWordsAreNeverRun)
{
    Reply("203.0.113.5 replied in 12 ms\n");
    for (const QString &host : {u"a;touch pwned"_s, u"$(id)"_s, u"a b"_s, u"`x`"_s}) {
        SetUpdateHostOverride(host);
        EXPECT_EQ(IsServerReachable(1), 0) << host.toStdString();
    }
    EXPECT_TRUE(Runs().isEmpty());
    EXPECT_FALSE(QFile::exists(u"pwned"_s));
}

TEST(VelmoraPing, RepliesFromALoopbackServerAndTimesOutOnAClosedPort)
{
    test::CLoopbackServer server;
    const QString output = RunAndCapture(QStringLiteral(VELMORA_PING_BINARY), {server.Host(), u"-n:1"_s, u"-w:3000"_s});
    EXPECT_TRUE(output.startsWith(u"127.0.0.1 replied in "_s)) << output.toStdString();
    EXPECT_EQ(PingOutputVerdict(output), 0); // the rule treats a loopback reply as no server

    const QString closed = RunAndCapture(QStringLiteral(VELMORA_PING_BINARY),
                                         {u"127.0.0.1:%1"_s.arg(test::ClosedLoopbackPort()), u"-n:1"_s, u"-w:500"_s});
    EXPECT_FALSE(closed.contains(u"replied in"_s));
    EXPECT_TRUE(RunAndCapture(QStringLiteral(VELMORA_PING_BINARY), {u"-w:x"_s}).startsWith(u"Usage"_s));
}

TEST_F(CPingFixture, UserManualOnlineWhenReachableElseTheLocalFile)
{
    CUpdateCommands commands(1);
    Reply("Request timed out.\n");
    EXPECT_EQ(commands.UserManualTarget(), m_programFolder.filePath(u"userManual.pdf"_s));
    ResetServerReachable();
    Reply("203.0.113.5 replied in 12 ms\n");
    EXPECT_EQ(commands.UserManualTarget(), u"http://updates.example.test/help/velmora/userManual.htm"_s);
    SetUpdateHostOverride(QString());
    EXPECT_EQ(commands.UserManualTarget(), m_programFolder.filePath(u"userManual.pdf"_s));
}
