// Faster ways of checking must change nothing a user can see: rows, run logs, exit status.
// The library engine with a worker per core is the default; the tool engine with one job is
// the original path every other way is held against.
#include "TestSupport.h"
#include "app/cli/CliRun.h"

#include "inspect/MediaInfoLibrary.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

using SOutcome = test::SCheckOutcome;

class CEngines : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_library = new QTemporaryDir;
        for (const QStringList &arguments :
             {QStringList{s_library->path()},
              QStringList{u"--songs"_s, u"40"_s, u"--seed"_s, u"7"_s, s_library->path() + u"/Generated"_s}}) {
            QProcess generator;
            generator.start(QString::fromUtf8(VELMORA_SAMPLEGEN_BINARY), arguments);
            generator.waitForFinished(60000);
        }
    }
    static void TearDownTestSuite()
    {
        delete s_library;
        s_library = nullptr;
    }

    SOutcome Check(QStringList arguments)
    {
        QTemporaryDir data;
        arguments = QStringList{u"check"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, data.path()} + arguments
                  + QStringList{s_library->path()};
        return test::RunCheckWithLogs(arguments, data.path(), 120000);
    }

    static void ExpectSame(const SOutcome &a, const SOutcome &b)
    {
        EXPECT_EQ(a.exitCode, b.exitCode);
        EXPECT_EQ(a.rows, b.rows);
        EXPECT_EQ(a.directoryLog, b.directoryLog);
        EXPECT_EQ(a.errorLog, b.errorLog);
        EXPECT_FALSE(a.rows.isEmpty());
        EXPECT_GT(a.directoryLog.size(), 100);
    }

    static QTemporaryDir *s_library;
};

QTemporaryDir *CEngines::s_library = nullptr;

} // namespace

TEST_F(CEngines, SongCheckWithWorkersMatchesTheSerialRun)
{
    const SOutcome serial = Check({u"--songs"_s, u"--subfolders"_s, u"--jobs"_s, u"1"_s});
    ExpectSame(serial, Check({u"--songs"_s, u"--subfolders"_s})); // a worker per core
    ExpectSame(serial, Check({u"--songs"_s, u"--subfolders"_s, u"--jobs"_s, u"3"_s}));
}

TEST_F(CEngines, MediaDetailsCheckMatchesAcrossEnginesAndWorkers)
{
    if (QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty() || CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "mediainfo and its library are needed";
    const SOutcome tool = Check({u"--subfolders"_s, u"--engine"_s, u"tool"_s, u"--jobs"_s, u"1"_s});
    EXPECT_EQ(tool.exitCode, 1); // the sample library has its problem files
    EXPECT_GT(tool.rows.count("\"path\""), 100);
    ExpectSame(tool, Check({u"--subfolders"_s})); // the default: the library, a worker per core
    ExpectSame(tool, Check({u"--subfolders"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"1"_s}));
    ExpectSame(tool, Check({u"--subfolders"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"3"_s}));
    ExpectSame(tool, Check({u"--subfolders"_s, u"--engine"_s, u"tool"_s, u"--jobs"_s, u"3"_s}));
}

TEST_F(CEngines, BadTuningIsAUsageError)
{
    EXPECT_EQ(Check({u"--engine"_s, u"fast"_s}).exitCode, 2);
    EXPECT_EQ(Check({u"--jobs"_s, u"0"_s}).exitCode, 2);
    EXPECT_EQ(Check({u"--jobs"_s, u"many"_s}).exitCode, 2);
}
