#include "TestSupport.h"
#include "app/cli/CliRun.h"

#include "cache/CachedValues.h"
#include "cache/FileKey.h"
#include "cache/ResultCache.h"
#include "check/MediaExamination.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

// What a check shows and leaves: its rows and both run logs, byte for byte.
using SOutcome = test::SCheckOutcome;

struct SCheckKind
{
    const char *name;
    QStringList arguments;
};

const QList<SCheckKind> kKinds = {{"song check", {u"--songs"_s}},
                                  {"song check with verification", {u"--songs"_s, u"--verify"_s}},
                                  {"media-details check", {}}};

QByteArray Mp3Titled(const QString &title)
{
    samplegen::SId3Fields fields;
    fields.title = title;
    fields.artist = u"Cache Singer"_s;
    return samplegen::MakeMp3File(&fields, true, true, 40);
}

// Waits until what was just written is old enough to be kept (see FileKey.h).
void LetFilesSettle()
{
    QThread::msleep(kSettledSeconds * 1000 + 100);
}

// A generated library of every kind of file, with a few songs of the test's own.
class Rescan : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QProcess generator;
        generator.start(QString::fromUtf8(VELMORA_SAMPLEGEN_BINARY),
                        {u"--songs"_s, u"12"_s, u"--seed"_s, u"7"_s, Library()});
        ASSERT_TRUE(generator.waitForFinished(60000));
        ASSERT_EQ(generator.exitCode(), 0);
        test::WriteBytes(Library(u"Own/Changing.mp3"_s), Mp3Titled(u"Before Title"_s));
        test::WriteBytes(Library(u"Own/Renamed.mp3"_s), Mp3Titled(u"Renamed Song"_s));
        test::WriteBytes(Library(u"Own/Removed.mp3"_s), Mp3Titled(u"Removed Song"_s));
    }

    QString Library(const QString &name = {}) const
    {
        return name.isEmpty() ? m_root.filePath(u"lib"_s) : m_root.filePath(u"lib/"_s + name);
    }
    QString Data(bool cache) const { return m_root.filePath(cache ? u"cached"_s : u"plain"_s); }

    SOutcome Check(const SCheckKind &kind, int jobs, bool cache) const
    {
        QStringList arguments = {u"check"_s};
        arguments << kind.arguments
                  << QStringList{u"--subfolders"_s, u"--jobs"_s, QString::number(jobs), u"--format"_s, u"json"_s,
                                 u"--data-dir"_s, Data(cache)};
        if (!cache)
            arguments << u"--no-cache"_s;
        arguments << Library();
        return test::RunCheckWithLogs(arguments, Data(cache));
    }

    QTemporaryDir m_root;
};

void ChangeLibrary(const QString &library)
{
    const QString changing = library + u"/Own/Changing.mp3"_s;
    const qint64 size = QFileInfo(changing).size();
    test::WriteBytes(changing, Mp3Titled(u"After  Title"_s)); // the same size, other bytes
    ASSERT_EQ(QFileInfo(changing).size(), size);
    test::WriteBytes(library + u"/Own/Added.mp3"_s, Mp3Titled(u"Added Song"_s));
    ASSERT_TRUE(QFile::remove(library + u"/Own/Removed.mp3"_s));
    ASSERT_TRUE(QFile::rename(library + u"/Own/Renamed.mp3"_s, library + u"/Own/Now Renamed.mp3"_s));
}

// Replaces the kept value of one file, as a damaged or planted database would hold it, and
// forgets the whole checks kept.
void PlantValue(const QString &database, ECacheKind kind, const QString &path, const QByteArray &value)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"planter"_s);
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.prepare(u"UPDATE results SET value = ? WHERE kind = ? AND path = ?"_s));
        query.addBindValue(value);
        query.addBindValue(int(kind));
        query.addBindValue(QFile::encodeName(path));
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_EQ(query.numRowsAffected(), 1) << path.toStdString();
        // The tree is unchanged, so the whole check kept last time would be replayed before
        // any per-file value is looked at.
        ASSERT_TRUE(query.exec(u"DELETE FROM checks"_s)) << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(u"planter"_s);
}

} // namespace

// Slow for a test (about 10 s: 30 runs of the program and two waits for the files to
// settle), but it is the promise of the cache: the same rows and logs, before and after
// the library changes, for every kind of check and with one job or several.
TEST_F(Rescan, RowsAndLogsAreTheSameWithAndWithoutTheCacheAsTheLibraryChanges)
{
    LetFilesSettle();
    QMap<QString, SOutcome> before;
    for (const SCheckKind &kind : kKinds) {
        for (int jobs : {1, 4}) {
            const QString label = QString::fromLatin1(kind.name) + u", jobs "_s + QString::number(jobs);
            const SOutcome plain = Check(kind, jobs, false);
            ASSERT_GE(plain.exitCode, 0) << label.toStdString();
            ASSERT_FALSE(plain.rows.isEmpty());
            EXPECT_EQ(Check(kind, jobs, true), plain) << "filling the cache, " << label.toStdString();
            EXPECT_EQ(Check(kind, jobs, true), plain) << "from the cache, " << label.toStdString();
            before.insert(label, plain);
        }
    }
    EXPECT_TRUE(QFileInfo(Data(true) + u"/results-cache.sqlite"_s).isFile());

    ChangeLibrary(Library());
    LetFilesSettle();
    for (const SCheckKind &kind : kKinds) {
        for (int jobs : {1, 4}) {
            const QString label = QString::fromLatin1(kind.name) + u", jobs "_s + QString::number(jobs);
            const SOutcome plain = Check(kind, jobs, false);
            EXPECT_NE(plain.rows, before.value(label).rows) << label.toStdString();
            EXPECT_EQ(Check(kind, jobs, true), plain) << "after the change, " << label.toStdString();
            if (kind.arguments.contains(u"--songs"_s)) {
                EXPECT_TRUE(plain.rows.contains("After  Title")) << label.toStdString();
                EXPECT_FALSE(plain.rows.contains("Before Title"));
                EXPECT_FALSE(plain.rows.contains("Removed Song"));
            }
        }
    }
}

// The program really takes what the database holds: a planted value shows in the rows,
// --no-cache reads the file, and a database held by someone else leaves the check as it is
// without the cache.
TEST_F(Rescan, TheCheckTakesKeptResultsUnlessToldOtherwise)
{
    LetFilesSettle();
    const SCheckKind &songs = kKinds[0];
    const SCheckKind &details = kKinds[2];
    const SOutcome songsPlain = Check(songs, 1, false);
    const SOutcome detailsPlain = Check(details, 1, false);
    ASSERT_EQ(Check(songs, 1, true), songsPlain);
    ASSERT_EQ(Check(details, 1, true), detailsPlain);

    const QString database = Data(true) + u"/results-cache.sqlite"_s;
    const QString song = Library(u"Own/Changing.mp3"_s);
    PlantValue(database, ECacheKind::SongFile, song,
               EncodeSongResult({u"65"_s, u"128"_s, QString(), u"Planted Title"_s, u"A"_s, u"B"_s, u"1999"_s, u"1"_s, u"Pop"_s}));
    SMediaExamination planted;
    planted.summaries = {u"Planted General"_s, QString(), QString(), u"1 min 5 s"_s};
    PlantValue(database, ECacheKind::MediaDetails, song, EncodeExamination(planted));
    EXPECT_TRUE(Check(songs, 1, true).rows.contains("Planted Title"));
    EXPECT_TRUE(Check(details, 1, true).rows.contains("Planted General"));
    EXPECT_EQ(Check(songs, 1, false), songsPlain);

    // Damaged values are misses: the file is read, the rows are as without the cache.
    PlantValue(database, ECacheKind::SongFile, song, "\x01\x02 not a record");
    PlantValue(database, ECacheKind::MediaDetails, song, QByteArray(1, '\0'));
    EXPECT_EQ(Check(songs, 1, true), songsPlain);
    EXPECT_EQ(Check(details, 1, true), detailsPlain);

    const CResultCache held(database);
    ASSERT_TRUE(held.Usable());
    EXPECT_EQ(Check(songs, 4, true), songsPlain);
    EXPECT_EQ(Check(details, 4, true), detailsPlain);
}
