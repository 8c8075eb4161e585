// Packages that only the unzip tool reads (Deflate64 and bzip2 members), checked from the
// command line among plain packages and loose pairs: the same rows and run logs whatever the
// number of workers and the engine, and every package's own song in its row.
#include "TestSupport.h"
#include "app/cli/CliRun.h"
#include "inspect/Mp3Analysis.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "update/ZipTestArchive.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::SZipTestMember;

namespace {

using SOutcome = test::SCheckOutcome;

// Every package holds a "song.mp3" of its own length, so a worker that read another's would
// show in the durations.
class CZipFallbackJobs : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_library = new QTemporaryDir;
        s_durations = new QMap<QString, int>;
        int seconds = 3;
        int lastDuration = 0;
        const auto song = [&](const QString &title) {
            samplegen::SId3Fields fields;
            fields.title = title;
            fields.artist = u"Band"_s;
            const QByteArray mp3 = samplegen::MakeMp3File(&fields, true, false, samplegen::Mp3FramesForSeconds(seconds++));
            QStringList values;
            ReadMp3ImageTags(mp3, values);
            lastDuration = values.value(0).toInt();
            return mp3;
        };
        for (int i = 0; i < 8; ++i) {
            const QString name = u"Wide %1.zip"_s.arg(i);
            const QByteArray mp3 = song(name);
            (*s_durations)[name] = lastDuration;
            test::WriteBytes(s_library->filePath(name),
                             test::BuildZip({{"song.cdg", QByteArray(2400, 'g')}, test::Deflate64Member("song.mp3", mp3)}));
        }
        for (int i = 0; i < 8; ++i) {
            const QString name = u"Bzip %1.zip"_s.arg(i);
            const QByteArray mp3 = song(name);
            const std::optional<SZipTestMember> member = test::Bzip2Member("song.mp3", mp3);
            if (!member)
                break;
            (*s_durations)[name] = lastDuration;
            test::WriteBytes(s_library->filePath(name), test::BuildZip({*member, {"song.cdg", QByteArray(2400, 'g')}}));
        }
        for (int i = 0; i < 4; ++i) {
            const QString name = u"Plain %1.zip"_s.arg(i);
            const QByteArray mp3 = song(name);
            (*s_durations)[name] = lastDuration;
            test::WriteBytes(s_library->filePath(name), test::BuildZip({{"song.mp3", mp3, true}, {"song.cdg", "g", true}}));
        }
        for (int i = 0; i < 4; ++i) {
            const QString name = u"Pair %1"_s.arg(i);
            test::WriteBytes(s_library->filePath(name + u".mp3"_s), song(name));
            test::WriteBytes(s_library->filePath(name + u".cdg"_s), QByteArray(2400, 'g'));
        }
    }
    static void TearDownTestSuite()
    {
        delete s_library;
        delete s_durations;
    }

    static SOutcome Check(QStringList arguments)
    {
        QTemporaryDir data;
        arguments = QStringList{u"check"_s, u"--format"_s, u"json"_s, u"--data-dir"_s, data.path()} + arguments
                  + QStringList{s_library->path()};
        return test::RunCheckWithLogs(arguments, data.path());
    }

    // Each package's row has its own song's length and no unknown-media result.
    static void ExpectOwnSongs(const SOutcome &outcome, const char *what)
    {
        int packages = 0;
        for (const QJsonValue &value : QJsonDocument::fromJson(outcome.rows).array()) {
            const QJsonObject row = value.toObject();
            const QString name = row[u"fileName"_s].toString();
            if (!s_durations->contains(name))
                continue;
            ++packages;
            EXPECT_EQ(row[u"duration"_s].toInt(), s_durations->value(name)) << what << ' ' << name.toStdString();
            EXPECT_EQ(row[u"result"_s].toString(), QString()) << what << ' ' << name.toStdString();
        }
        EXPECT_EQ(packages, s_durations->size()) << what;
    }

    static void ExpectSame(const SOutcome &a, const SOutcome &b, const char *what)
    {
        EXPECT_EQ(a.exitCode, b.exitCode) << what;
        EXPECT_EQ(a.rows, b.rows) << what;
        EXPECT_EQ(a.directoryLog, b.directoryLog) << what;
        EXPECT_EQ(a.errorLog, b.errorLog) << what;
    }

    static QTemporaryDir *s_library;
    static QMap<QString, int> *s_durations;
};

QTemporaryDir *CZipFallbackJobs::s_library = nullptr;
QMap<QString, int> *CZipFallbackJobs::s_durations = nullptr;

} // namespace

TEST_F(CZipFallbackJobs, SongCheckGivesOneAnswerForAnyJobsAndEngine)
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    const SOutcome serial = Check({u"--songs"_s, u"--engine"_s, u"tool"_s, u"--jobs"_s, u"1"_s});
    ExpectOwnSongs(serial, "songs, tool, 1 job");
    ExpectSame(serial, Check({u"--songs"_s, u"--engine"_s, u"tool"_s, u"--jobs"_s, u"4"_s}), "songs, tool, 4 jobs");
    ExpectSame(serial, Check({u"--songs"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"1"_s}), "songs, library, 1 job");
    ExpectSame(serial, Check({u"--songs"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"4"_s}), "songs, library, 4 jobs");
}

TEST_F(CZipFallbackJobs, MediaDetailsCheckGivesOneAnswerForAnyJobsAndEngine)
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty() || QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty())
        GTEST_SKIP() << "unzip and mediainfo are needed";
    const SOutcome serial = Check({u"--engine"_s, u"tool"_s, u"--jobs"_s, u"1"_s});
    ExpectOwnSongs(serial, "details, tool, 1 job");
    const SOutcome workers = Check({u"--engine"_s, u"tool"_s, u"--jobs"_s, u"4"_s});
    ExpectOwnSongs(workers, "details, tool, 4 jobs");
    ExpectSame(serial, workers, "details, tool, 4 jobs");
    ExpectSame(serial, Check({u"--engine"_s, u"library"_s, u"--jobs"_s, u"1"_s}), "details, library, 1 job");
    ExpectSame(serial, Check({u"--engine"_s, u"library"_s, u"--jobs"_s, u"4"_s}), "details, library, 4 jobs");
}
