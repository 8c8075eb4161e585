#include "TestSupport.h"
#include "app/cli/CliRun.h"

#include "cache/FileKey.h"
#include "rescan/PackedStreams.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

// Sets one column of every kept whole check.
void SetKeptColumn(const QString &database, const QString &column, const QVariant &value)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"kept-checks"_s);
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.prepare(u"UPDATE checks SET %1 = ?"_s.arg(column)));
        query.addBindValue(value);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_GE(query.numRowsAffected(), 1);
    }
    QSqlDatabase::removeDatabase(u"kept-checks"_s);
}

// One column of the one kept whole check.
QByteArray KeptColumn(const QString &database, const QString &column)
{
    QByteArray value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"kept-checks"_s);
        db.setDatabaseName(database);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(u"SELECT %1 FROM checks"_s.arg(column)) && query.next());
        value = query.value(0).toByteArray();
        EXPECT_FALSE(query.next()) << "one kept check";
    }
    QSqlDatabase::removeDatabase(u"kept-checks"_s);
    return value;
}

class CheckReplayCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QProcess generator;
        generator.start(QString::fromUtf8(VELMORA_SAMPLEGEN_BINARY), {u"--songs"_s, u"8"_s, u"--seed"_s, u"3"_s, Library()});
        ASSERT_TRUE(generator.waitForFinished(60000));
        ASSERT_EQ(generator.exitCode(), 0);
        QThread::msleep(kSettledSeconds * 1000 + 100);
    }
    QString Library() const { return m_root.filePath(u"lib"_s); }
    QString Data() const { return m_root.filePath(u"data"_s); }
    QString Database() const { return Data() + u"/results-cache.sqlite"_s; }

    test::SCheckOutcome Check(QStringList arguments, bool cache = true) const
    {
        arguments.prepend(u"check"_s);
        arguments << u"--subfolders"_s << u"--data-dir"_s << Data();
        if (!cache)
            arguments << u"--no-cache"_s;
        arguments << Library();
        return test::RunCheckWithLogs(arguments, Data());
    }

    QTemporaryDir m_root;
};

} // namespace

// The second check of the unchanged library prints what was kept (a planted row shows), a
// check asked another way or with --no-cache or --full-check is done in full, and a change
// to the library is seen at once.
TEST_F(CheckReplayCli, AnUnchangedLibraryIsAnsweredWithTheKeptCheck)
{
    const QStringList songs = {u"--songs"_s};
    const test::SCheckOutcome plain = Check(songs, false);
    ASSERT_FALSE(plain.rows.isEmpty());
    ASSERT_EQ(Check(songs), plain);
    ASSERT_EQ(Check(songs), plain);

    CPacker planted;
    planted.Add("planted row\n");
    SetKeptColumn(Database(), u"rows"_s, planted.Finish());
    SetKeptColumn(Database(), u"rows_size"_s, 12);
    test::SCheckOutcome replayed = Check(songs);
    EXPECT_EQ(replayed.rows, "planted row\n");
    EXPECT_EQ(replayed.directoryLog, plain.directoryLog);
    EXPECT_EQ(replayed.errorLog, plain.errorLog);
    EXPECT_EQ(replayed.exitCode, plain.exitCode);

    EXPECT_EQ(Check(songs, false), plain);
    EXPECT_EQ(Check({u"--songs"_s, u"--full-check"_s}), plain);
    const QStringList json = {u"--songs"_s, u"--format"_s, u"json"_s};
    EXPECT_EQ(Check(json), Check(json, false));
    EXPECT_EQ(Check(json), Check(json, false)) << "replayed";
    const QStringList csv = {u"--songs"_s, u"--format"_s, u"csv"_s};
    EXPECT_EQ(Check(csv), Check(csv, false));
    EXPECT_EQ(Check(csv), Check(csv, false)) << "replayed";
    EXPECT_EQ(Check({u"--songs"_s, u"--verify"_s}).rows, Check({u"--songs"_s, u"--verify"_s}, false).rows);
    EXPECT_EQ(Check(songs).rows, "planted row\n") << "the other checks kept their own";

    test::WriteBytes(Library() + u"/Added Song.mp3"_s, "not really an MP3");
    const test::SCheckOutcome changed = Check(songs, false);
    EXPECT_TRUE(changed.rows.contains("Added Song"));
    EXPECT_EQ(Check(songs), changed);
}

// Kept logs that do not read back make the check run in full; the media-details check is
// kept and replayed the same way.
TEST_F(CheckReplayCli, KeptLogsThatDoNotReadBackMeanACheckInFull)
{
    const test::SCheckOutcome plain = Check({}, false);
    ASSERT_FALSE(plain.rows.isEmpty());
    ASSERT_EQ(Check({}), plain);
    ASSERT_EQ(Check({}), plain);
    SetKeptColumn(Database(), u"error_log"_s, QByteArray("cut"));
    EXPECT_EQ(Check({}), plain);
    EXPECT_NE(KeptColumn(Database(), u"error_log"_s), "cut") << "kept again, whole";
    EXPECT_EQ(Check({}), plain);
}
