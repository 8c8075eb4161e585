// Start-up check and Online Upgrade with a stand-in ping tool that answers from an outside
// address, while every download goes to a web server on 127.0.0.1.
#include "TestSupport.h"
#include "update/LoopbackServer.h"
#include "update/UpdateFixture.h"

#include "update/UpdateCommands.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class CCommandsFixture : public test::CUpdateFixture
{
protected:
    void SetUp() override
    {
        test::CUpdateFixture::SetUp();
        m_oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_temp.path().toUtf8());
        InstallPingTool("echo ran >> \"$(dirname \"$0\")/runs\"\necho 203.0.113.5 replied in 3 ms\n");
    }
    void TearDown() override
    {
        qputenv("TMPDIR", m_oldTemp);
        test::CUpdateFixture::TearDown();
    }
    void Publish(const QString &name, const QString &version)
    {
        test::WriteBytes(m_server.Path(test::CLoopbackServer::ChannelPath(name)),
                         u"[HEADER]\nAPPTITLE=Velmora\nFILENAME=Velmora.exe\nFILEVERSION=%1\n"
                         "[UPDATE]\nFILENAME=gone.zip\n"_s.arg(version).toUtf8());
    }
    QString UpdateFolder() const
    {
        return m_temp.filePath(u"velmora-"_s + QString::number(::geteuid()) + u"/Update_002"_s);
    }
    bool PingRan() const { return QFile::exists(m_programFolder.filePath(u"runs"_s)); }

    test::CLoopbackServer m_server;
    QTemporaryDir m_temp;
    QByteArray m_oldTemp;
};

} // namespace

TEST_F(CCommandsFixture, NoHostOrNoSwitchMeansNoTrafficAtAll)
{
    EXPECT_EQ(CUpdateCommands::UpdateTypeOf({u"/opt/velmora"_s, u"-idododevodiviz"_s}), 0);
    EXPECT_EQ(CUpdateCommands::UpdateTypeOf({u"/opt/velmora"_s, u"/songs"_s}), 1);

    CUpdateCommands skipped(0);
    SetUpdateHostOverride(m_server.Host());
    EXPECT_FALSE(skipped.IsOnlineUpgradeEnabled());
    EXPECT_FALSE(skipped.RunStartupCheck());
    EXPECT_EQ(skipped.OnlineUpgrade(), EUpgradeOutcome::Disabled);

    CUpdateCommands commands(1);
    SetUpdateHostOverride(QString());
    EXPECT_TRUE(commands.IsOnlineUpgradeEnabled());
    EXPECT_FALSE(commands.RunStartupCheck());
    EXPECT_EQ(commands.OnlineUpgrade(), EUpgradeOutcome::Disconnected);
    EXPECT_EQ(m_prompt.m_messages, QStringList{u"Disconnected."_s});
    EXPECT_FALSE(PingRan());
    EXPECT_FALSE(QDir(UpdateFolder()).exists());
}

TEST_F(CCommandsFixture, OnlineUpgradeUpToDateOrDeclined)
{
    SetUpdateHostOverride(m_server.Host());
    CUpdateCommands commands(1);
    Publish(u"update-last.ini"_s, u"1.0.0.15"_s);
    EXPECT_EQ(commands.OnlineUpgrade(), EUpgradeOutcome::UpToDate);
    EXPECT_EQ(m_prompt.m_messages, QStringList{u"Program up to date (1.0.0.15)"_s});
    EXPECT_TRUE(QDir(UpdateFolder()).exists());

    Publish(u"update-last.ini"_s, u"1.0.0.16"_s);
    m_prompt.m_answer = EPromptAnswer::No;
    EXPECT_EQ(commands.OnlineUpgrade(), EUpgradeOutcome::Declined);
    EXPECT_EQ(m_prompt.m_titles, QStringList{u" v1.0.0.16 Update now is available"_s});
    m_prompt.m_answer = EPromptAnswer::Yes;
    EXPECT_EQ(commands.OnlineUpgrade(), EUpgradeOutcome::Failed); // the package is not on the server
    EXPECT_EQ(m_prompt.m_messages.size(), 2);
}

TEST_F(CCommandsFixture, StartupCheckUsesTheStartupManifest)
{
    SetUpdateHostOverride(m_server.Host());
    CUpdateCommands commands(1);
    Publish(u"update.ini"_s, u"1.0.0.16"_s);
    m_prompt.m_answer = EPromptAnswer::No;
    EXPECT_FALSE(commands.RunStartupCheck());
    EXPECT_EQ(m_prompt.m_questions.size(), 1);
    EXPECT_TRUE(PingRan());
}
