#include "TestSupport.h"

#include "base/RunLogs.h"
#include "base/TraceSink.h"
#include "base/UserPaths.h"
#include "platform/MessagePump.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::CLogCapture;

namespace {

class CCollectingSink : public ITraceSink
{
public:
    void AddTraceLine(const QString &line, int kind) override { lines.append({line, kind}); }
    QList<std::pair<QString, int>> lines;
};

} // namespace

TEST(RunLogs, KindsDecideWhichFilesGetALine)
{
    CLogCapture capture;
    CCollectingSink sink;
    capture.Logs().SetTraceSink(&sink);

    WriteLog(Plain, u"plain %d\r\n", 1);
    WriteLog(Good, u"good\r\n");
    WriteLog(Progress, u"progress\r\n");
    WriteLog(Problem, u"problem\r\n");

    EXPECT_EQ(capture.DirectoryLog(), QStringList({u"plain 1"_s, u"good"_s, u"progress"_s, u"problem"_s}));
    EXPECT_EQ(capture.ErrorLog(), QStringList({u"plain 1"_s, u"problem"_s}));
    ASSERT_EQ(sink.lines.size(), 4);
    EXPECT_EQ(sink.lines[2].second, int(Progress));
    EXPECT_TRUE(sink.lines[2].first.endsWith(u" progress\r\n"_s));
    capture.Logs().SetTraceSink(nullptr);
}

TEST(RunLogs, FreshLogsAreEmptyAndFirstLineStartsWithTheMark)
{
    CLogCapture capture;
    const QString directoryLog = QDir(capture.Folder()).filePath(u"directory.log"_s);
    EXPECT_EQ(QFile(directoryLog).size(), 0);

    WriteLog(Plain, u"a\r\n");
    WriteLog(Plain, u"b\r\n");
    capture.Logs().Flush();
    const QByteArray bytes = test::ReadBytes(directoryLog);
    EXPECT_EQ(bytes, QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0\r\0\n\0", 14));

    // Clear reopens the logs: both are empty again until the next line.
    capture.Logs().OpenRunLogs();
    EXPECT_EQ(QFile(directoryLog).size(), 0);
    EXPECT_EQ(QFile(QDir(capture.Folder()).filePath(u"error.log"_s)).size(), 0);
}

// Lines are written in blocks, but none waits long: a line recorded while the program then
// sits idle (a hung tool, an open prompt) is on disk within the delay, a large burst at
// once, and whatever is pending when the logs close.
TEST(RunLogs, PendingLinesReachTheDiskSoonWithoutAnyFlush)
{
    CLogCapture capture;
    const QString directoryLog = QDir(capture.Folder()).filePath(u"directory.log"_s);
    WriteLog(Problem, u"LOAD, the file before a hang\r\n");
    QElapsedTimer waited;
    waited.start();
    while (test::ReadBytes(directoryLog).isEmpty() && waited.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_EQ(test::DecodeRunLog(test::ReadBytes(directoryLog)), QStringList({u"LOAD, the file before a hang"_s}));

    // Far more than the logs' thread has taken: the recording thread writes it itself.
    const QString burst = QString(CRunLogs::kBackPressureSize, u'x');
    WriteLog(Plain, u"%s\r\n", burst);
    EXPECT_GE(test::ReadBytes(directoryLog).size(), 2 * CRunLogs::kBackPressureSize);

    WriteLog(Plain, u"last\r\n");
    capture.Logs().CloseRunLogs();
    EXPECT_EQ(test::DecodeRunLog(test::ReadBytes(directoryLog)).constLast(), u"last"_s);
    EXPECT_EQ(test::DecodeRunLog(test::ReadBytes(QDir(capture.Folder()).filePath(u"error.log"_s))).constLast(), u"last"_s);
}

// Another program may empty a log while the check runs; the next block starts it again
// with its mark.
TEST(RunLogs, ALogEmptiedMeanwhileGetsItsMarkAgain)
{
    CLogCapture capture;
    const QString errorLog = QDir(capture.Folder()).filePath(u"error.log"_s);
    WriteLog(Problem, u"one\r\n");
    capture.Logs().Flush();
    QFile(errorLog).resize(0);
    WriteLog(Problem, u"two\r\n");
    capture.Logs().Flush();
    EXPECT_EQ(test::ReadBytes(errorLog), QByteArray("\xFF\xFE" "t\0w\0o\0\r\0\n\0", 12));
}

TEST(RunLogs, PercentInAnArgumentIsWrittenAsIs)
{
    CLogCapture capture;
    CCollectingSink sink;
    capture.Logs().SetTraceSink(&sink);
    WriteLog(Problem, u"INFO, %s\r\n", u"/k/100% hits %d.mp3"_s);
    EXPECT_EQ(capture.ErrorLog(), QStringList({u"INFO, /k/100% hits %d.mp3"_s}));
    ASSERT_EQ(sink.lines.size(), 1);
    EXPECT_TRUE(sink.lines[0].first.endsWith(u"INFO, /k/100% hits %d.mp3\r\n"_s));
    capture.Logs().SetTraceSink(nullptr);
}

TEST(RunLogs, UnwritableFolderKeepsTheTracePaneGoing)
{
    // A plain file where the data folder should be: no log can be created, even as root.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(u"blocker"_s);
    test::WriteBytes(blocker, "x");
    SetUserDataFolder(blocker);

    CRunLogs logs;
    CCollectingSink sink;
    logs.SetTraceSink(&sink);
    logs.OpenRunLogs();
    SetActiveRunLogs(&logs);
    WriteLog(Problem, u"still shown\r\n");
    SetActiveRunLogs(nullptr);
    SetUserDataFolder({});

    EXPECT_FALSE(logs.IsDirectoryLogOpen());
    EXPECT_FALSE(logs.IsErrorLogOpen());
    ASSERT_EQ(sink.lines.size(), 1);
    EXPECT_TRUE(sink.lines[0].first.endsWith(u"still shown\r\n"_s));
}

TEST(RunLogs, TracePaneLineFormatAndCut)
{
    EXPECT_EQ(TracePaneLine(QTime(13, 7, 9, 45), u"LIST, x"_s), u"13:07:09-045 LIST, x"_s);
    const QString longLine = TracePaneLine(QTime(0, 0, 0), QString(5000, u'y'));
    EXPECT_EQ(longLine.size(), 1023);
}

TEST(RunLogs, EveryLinePumpsMessages)
{
    int pumped = 0;
    SetMessagePumpHook([&] { ++pumped; });
    WriteLog(Plain, u"no logs open\r\n");
    WriteLog(Progress, u"again\r\n");
    SetMessagePumpHook({});
    EXPECT_EQ(pumped, 2);
}
