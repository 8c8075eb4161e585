// Outside tools seen from a check: what they write, and tools that never finish.
#include "check/CheckFixture.h"

#include "base/UserPaths.h"
#include "check/ListSelectDirectory.h"
#include "platform/MessagePump.h"
#include "widgets/ProcessRunner.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A media-information tool of the test's making in the program folder.
class CStandInMediaTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldProgramFolder = ProgramFolder();
        SetProgramFolder(m_tools.path());
    }
    void TearDown() override
    {
        SetProgramFolder(m_oldProgramFolder);
        SetMessagePumpHook({});
        SetRunTimeLimitSeconds(0);
    }
    void Tool(const QByteArray &body)
    {
        const QString script = m_tools.filePath(u"mediainfo"_s);
        test::WriteBytes(script, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void MediaDetailsCheck(int jobs)
    {
        f.list.m_nTopLevel = 1;
        f.list.m_tuning.nJobs = jobs;
        f.list.m_tuning.engine = EReportEngine::Tool; // the tool is the point of these tests
        ListSelectDirectory(f.list, f.Root());
    }

    test::CCheckFixture f;
    QTemporaryDir m_tools;
    QString m_oldProgramFolder;
};

} // namespace

TEST_F(CStandInMediaTool, ReportIsReadAsTheToolWroteIt)
{
    Tool(R"(printf 'General\nFormat                                   : Caf\303\251 Audio\nDuration                                 : 3 s\n')");
    f.AddFile(u"song.mp3"_s);
    MediaDetailsCheck(1);
    ASSERT_EQ(f.list.GetItemCount(), 1);
    EXPECT_EQ(f.list.Item(0).szTitle.Text(), u"Caf\u00e9 Audio, 3 s"_s);
}

TEST_F(CStandInMediaTool, ToolEndedAtItsTimeLimitIsNamedInTheLogs)
{
    Tool("sleep 30");
    SetRunTimeLimitSeconds(1);
    f.AddFile(u"stalls.mp3"_s, "not audio");
    MediaDetailsCheck(1);
    const QStringList errors = f.capture.ErrorLog();
    EXPECT_TRUE(errors.contains(u"ERROR, mediainfo ended at its time limit of 1 s, "_s + f.Path(u"stalls.mp3"_s)))
        << errors.join(u'\n').toStdString();
    // The check's own line for a file of which nothing was learnt follows, unchanged.
    EXPECT_TRUE(errors.contains(u"INFO, AUDIO - Unknown Media "_s + f.Path(u"stalls.mp3"_s)));
}

// Stop, pressed while a tool hangs, ends the tool at once; the window sees the press when it
// handles its messages, which the wait for the tool keeps doing.
TEST_F(CStandInMediaTool, StopEndsAStuckToolWithinASecond)
{
    Tool("sleep 30");
    SetRunTimeLimitSeconds(20);
    f.AddFile(u"a.mp3"_s);
    f.AddFile(u"b.mp3"_s);
    for (const int jobs : {1, 3}) {
        SCOPED_TRACE(jobs);
        QElapsedTimer clock;
        clock.start();
        qint64 pressedAt = -1;
        SetMessagePumpHook([&] {
            if (pressedAt < 0 && clock.elapsed() >= 300 && f.list.IsChecking()) {
                pressedAt = clock.elapsed();
                f.list.RequestStop();
            }
        });
        MediaDetailsCheck(jobs);
        SetMessagePumpHook({});
        ASSERT_GE(pressedAt, 0);
        EXPECT_LT(clock.elapsed() - pressedAt, 1000);
        EXPECT_TRUE(f.capture.DirectoryLog().contains(u"LIST, Check stopped by the user after 0 of 2 files"_s));
        // A file whose tool was cut short is not judged.
        EXPECT_EQ(f.list.Item(0).MarkClass(), 0);
    }
}
