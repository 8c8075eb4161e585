#include "TestSupport.h"

#include "cache/CachedValues.h"
#include "cache/CacheRecord.h"
#include "cache/ResultCache.h"
#include "check/MediaExamination.h"
#include "verify/FileVerify.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

SMediaExamination SampleExamination()
{
    SMediaExamination found;
    found.summaries = {u"MPEG Audio, 4.00 MiB"_s, QString(), u"MPEG Audio, 160 kb/s"_s, u"3 min 25 s"_s};
    found.identity = {u"KLOV Karaoke File"_s, u"ZR30 CDG File"_s, true, 205};
    found.analysis = {u"205"_s, u"160"_s, QString(), u"Title é ♪"_s};
    found.bAnalysed = true;
    return found;
}

SFileFindings SampleFindings()
{
    SFileFindings findings;
    findings.kind = EFileKind::Zip;
    findings.bRead = true;
    findings.nSize = 5'000'000'000;
    findings.reasons = {{u"audio-truncated"_s, ESeverity::Broken, u"the last frame is cut short"_s},
                        {u"sidecar"_s, ESeverity::Warning, QString()}};
    findings.bAudio = true;
    findings.bGraphics = true;
    findings.dAudioSeconds = 204.75;
    findings.dGraphicsSeconds = -1;
    findings.prints = {{true, QByteArray(16, '\x7f'), u"song.mp3"_s}, {false, QByteArray(16, '\x01'), QString()}};
    return findings;
}

void ExpectSameExamination(const SMediaExamination &a, const SMediaExamination &b)
{
    EXPECT_EQ(a.summaries.strGeneral, b.summaries.strGeneral);
    EXPECT_EQ(a.summaries.strVideo, b.summaries.strVideo);
    EXPECT_EQ(a.summaries.strAudio, b.summaries.strAudio);
    EXPECT_EQ(a.summaries.strDuration, b.summaries.strDuration);
    EXPECT_EQ(a.identity.strGeneral, b.identity.strGeneral);
    EXPECT_EQ(a.identity.strFormat, b.identity.strFormat);
    EXPECT_EQ(a.identity.bAccepted, b.identity.bAccepted);
    EXPECT_EQ(a.identity.nDuration, b.identity.nDuration);
    EXPECT_EQ(a.analysis, b.analysis);
    EXPECT_EQ(a.bAnalysed, b.bAnalysed);
}

void ExpectSameFindings(const SFileFindings &a, const SFileFindings &b)
{
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.bRead, b.bRead);
    EXPECT_EQ(a.nSize, b.nSize);
    ASSERT_EQ(a.reasons.size(), b.reasons.size());
    for (qsizetype i = 0; i < a.reasons.size(); ++i) {
        EXPECT_EQ(a.reasons[i].strCode, b.reasons[i].strCode);
        EXPECT_EQ(a.reasons[i].severity, b.reasons[i].severity);
        EXPECT_EQ(a.reasons[i].strText, b.reasons[i].strText);
    }
    EXPECT_EQ(a.bAudio, b.bAudio);
    EXPECT_EQ(a.bGraphics, b.bGraphics);
    EXPECT_EQ(a.dAudioSeconds, b.dAudioSeconds);
    EXPECT_EQ(a.dGraphicsSeconds, b.dGraphicsSeconds);
    ASSERT_EQ(a.prints.size(), b.prints.size());
    for (qsizetype i = 0; i < a.prints.size(); ++i) {
        EXPECT_EQ(a.prints[i].bAudio, b.prints[i].bAudio);
        EXPECT_EQ(a.prints[i].digest, b.prints[i].digest);
        EXPECT_EQ(a.prints[i].strMember, b.prints[i].strMember);
    }
}

// Every way of cutting or bending a record must read as a miss, never as a result.
template <typename Decode>
void ExpectEveryDamageMisses(const QByteArray &record, Decode decode)
{
    for (qsizetype size = 0; size < record.size(); ++size)
        EXPECT_FALSE(decode(record.first(size)).has_value()) << "cut to " << size;
    EXPECT_FALSE(decode(record + 'x').has_value());
    // A count or length of 2^62 where the first one stands (after the form field).
    QByteArray huge = record;
    huge.replace(8, 8, QByteArray("\0\0\0\0\0\0\0\x40", 8));
    EXPECT_FALSE(decode(huge).has_value());
    QByteArray otherForm = record;
    otherForm[0] = char(otherForm[0] ^ 0x20);
    EXPECT_FALSE(decode(otherForm).has_value());
}

SFileKey KeyOf(const QString &path)
{
    const std::optional<SFileKey> key = ReadFileKey(path);
    EXPECT_TRUE(key.has_value()) << path.toStdString();
    return key.value_or(SFileKey());
}

class ResultCacheTest : public ::testing::Test
{
protected:
    QString Path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString Database() const { return Path(u"results-cache.sqlite"_s); }

    QTemporaryDir m_dir;
};

// Runs one statement on the database with a connection of the test's own.
void ExecuteOn(const QString &database, const QString &statement, const QVariantList &values = {})
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"test-side"_s);
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.prepare(statement));
        for (const QVariant &value : values)
            query.addBindValue(value);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(u"test-side"_s);
}

} // namespace

TEST(CachedValues, EachKindReadsBackAsWritten)
{
    const QStringList song = {u"215"_s, u"128"_s, QString(), u"Título"_s, u"Ärtist"_s, QString(), u"1999"_s, u"3"_s, u"Pop"_s};
    EXPECT_EQ(DecodeSongResult(EncodeSongResult(song)), song);
    EXPECT_EQ(DecodeSongResult(EncodeSongResult({})), QStringList());

    const std::optional<SMediaExamination> found = DecodeExamination(EncodeExamination(SampleExamination()));
    ASSERT_TRUE(found.has_value());
    ExpectSameExamination(*found, SampleExamination());

    const std::optional<SFileFindings> findings = DecodeFindings(EncodeFindings(SampleFindings()));
    ASSERT_TRUE(findings.has_value());
    ExpectSameFindings(*findings, SampleFindings());
}

TEST(CachedValues, DamagedOrForeignBytesAreMisses)
{
    ExpectEveryDamageMisses(EncodeSongResult({u"215"_s, u"x"_s}), DecodeSongResult);
    ExpectEveryDamageMisses(EncodeExamination(SampleExamination()), DecodeExamination);
    ExpectEveryDamageMisses(EncodeFindings(SampleFindings()), DecodeFindings);
    // A record of one kind is never taken for another.
    EXPECT_FALSE(DecodeExamination(EncodeSongResult({u"1"_s})).has_value());
    EXPECT_FALSE(DecodeFindings(EncodeExamination(SampleExamination())).has_value());
    // Values out of range: a severity of 7 and a string of odd byte length.
    SFileFindings findings = SampleFindings();
    findings.reasons[0].severity = ESeverity(7);
    EXPECT_FALSE(DecodeFindings(EncodeFindings(findings)).has_value());
    CCacheRecordWriter odd;
    odd.PutInt(0x53'4F'4E'47'01);
    odd.PutInt(1);
    odd.PutBytes("abc");
    EXPECT_FALSE(DecodeSongResult(odd.Bytes()).has_value());
}

TEST_F(ResultCacheTest, KeptRowsAreFoundOnlyForTheSameFileAndContext)
{
    test::WriteBytes(Path(u"lib/a.mp3"_s), "first bytes");
    test::WriteBytes(Path(u"lib/sub/b.cdg"_s), "graphics");
    test::WriteBytes(Path(u"other/c.mp3"_s), "elsewhere");
    {
        CResultCache cache(Database());
        ASSERT_EQ(cache.State(), CResultCache::EState::Created);
        cache.SetContext(ECacheKind::SongFile, u"context one"_s);
        cache.Store(ECacheKind::SongFile, KeyOf(Path(u"lib/a.mp3"_s)), "value a");
        cache.Store(ECacheKind::SongFile, KeyOf(Path(u"lib/sub/b.cdg"_s)), "value b");
        cache.Store(ECacheKind::SongFile, KeyOf(Path(u"other/c.mp3"_s)), "value c");
        cache.Store(ECacheKind::MediaDetails, KeyOf(Path(u"lib/a.mp3"_s)), "details a");
    }
    CResultCache cache(Database());
    ASSERT_EQ(cache.State(), CResultCache::EState::Opened);
    cache.SetContext(ECacheKind::SongFile, u"context one"_s);
    cache.Preload(ECacheKind::SongFile, Path(u"lib"_s));
    EXPECT_EQ(cache.LoadedRows(), 2); // below the folder, of the kind asked for
    EXPECT_EQ(cache.Find(ECacheKind::SongFile, KeyOf(Path(u"lib/a.mp3"_s))), QByteArray("value a"));
    EXPECT_EQ(cache.Find(ECacheKind::SongFile, KeyOf(Path(u"lib/sub/b.cdg"_s))), QByteArray("value b"));
    EXPECT_FALSE(cache.Find(ECacheKind::SongFile, KeyOf(Path(u"other/c.mp3"_s))));
    EXPECT_FALSE(cache.Find(ECacheKind::MediaDetails, KeyOf(Path(u"lib/a.mp3"_s))));

    SFileKey key = KeyOf(Path(u"lib/a.mp3"_s));
    for (auto change : {+[](SFileKey &k) { ++k.nSize; }, +[](SFileKey &k) { ++k.nModifiedNs; },
                        +[](SFileKey &k) { ++k.nChangedNs; }, +[](SFileKey &k) { ++k.nInode; },
                        +[](SFileKey &k) { k.nMode ^= S_IRUSR; }, +[](SFileKey &k) { k.nativePath += '2'; }}) {
        SFileKey changed = key;
        change(changed);
        EXPECT_FALSE(cache.Find(ECacheKind::SongFile, changed));
    }
    cache.SetContext(ECacheKind::SongFile, u"context two"_s);
    EXPECT_FALSE(cache.Find(ECacheKind::SongFile, key));
    EXPECT_EQ(cache.Hits(), 2);
}

TEST_F(ResultCacheTest, AFileRewrittenWithTheSameSizeHasAnotherKey)
{
    const QString song = Path(u"song.mp3"_s);
    test::WriteBytes(song, "AAAA");
    const SFileKey before = KeyOf(song);
    test::WriteBytes(song, "BBBB");
    const SFileKey after = KeyOf(song);
    EXPECT_EQ(before.nSize, after.nSize);
    EXPECT_FALSE(before.SameFileAs(after));
    // Just written: a second write in the same step of the clock could keep the key.
    EXPECT_FALSE(StillSameReadableFile(after));
    SFileKey settled = after;
    settled.nReadAtNs += qint64(kSettledSeconds) * 1000000000;
    EXPECT_TRUE(StillSameReadableFile(settled));
    settled = before;
    settled.nReadAtNs += qint64(kSettledSeconds) * 1000000000;
    EXPECT_FALSE(StillSameReadableFile(settled));
    EXPECT_FALSE(ReadFileKey(m_dir.path()).has_value()); // a folder has no results to keep
    EXPECT_FALSE(ReadFileKey(Path(u"missing.mp3"_s)).has_value());
}

TEST_F(ResultCacheTest, ForeignFilesAtTheNameAreSetAsideAndANewDatabaseMade)
{
    const auto expectRebuilt = [this](const char *what) {
        CResultCache cache(Database());
        EXPECT_EQ(cache.State(), CResultCache::EState::Rebuilt) << what;
        EXPECT_TRUE(cache.SetAsidePath().startsWith(Database() + u".set-aside-"_s)) << what;
        EXPECT_TRUE(QFileInfo::exists(cache.SetAsidePath()) || QFileInfo(cache.SetAsidePath()).isSymLink()) << what;
        cache.SetContext(ECacheKind::Verify, u"c"_s);
        test::WriteBytes(Path(u"f.mp3"_s), "x");
        cache.Store(ECacheKind::Verify, KeyOf(Path(u"f.mp3"_s)), "kept");
        return cache.SetAsidePath();
    };
    // Text, then a file of zeros as long as an SQLite page, then half a real database.
    test::WriteBytes(Database(), "not a database at all");
    const QString text = expectRebuilt("text");
    EXPECT_EQ(test::ReadBytes(text), QByteArray("not a database at all"));
    test::WriteBytes(Database(), QByteArray(4096, '\0') + "SQLite format 3");
    expectRebuilt("zeros");
    QByteArray whole = test::ReadBytes(Database());
    ASSERT_GT(whole.size(), 1024);
    QFile::remove(Database());
    test::WriteBytes(Database(), whole.first(1024) + QByteArray(3000, '\xA5'));
    expectRebuilt("cut database");

    // Another program's SQLite database, and one of another schema version of ours.
    QFile::remove(Database());
    ExecuteOn(Database(), u"CREATE TABLE notes (x)"_s);
    expectRebuilt("other program");
    ExecuteOn(Database(), u"PRAGMA user_version = 99"_s);
    expectRebuilt("other version");
    {
        CResultCache cache(Database());
        EXPECT_EQ(cache.State(), CResultCache::EState::Opened); // the new one is ours
    }

    // A folder, a link and a pipe at the name: none is opened (a pipe would hang the open).
    QFile::remove(Database());
    ASSERT_TRUE(QDir().mkpath(Database()));
    expectRebuilt("folder");
    QFile::remove(Database());
    ASSERT_TRUE(QFile::link(Path(u"f.mp3"_s), Database()));
    expectRebuilt("link");
    QFile::remove(Database());
    ASSERT_EQ(::mkfifo(QFile::encodeName(Database()).constData(), 0600), 0);
    expectRebuilt("pipe");

    // An unreadable file.
    QFile::remove(Database());
    test::WriteBytes(Database(), "secret");
    QFile(Database()).setPermissions(QFileDevice::Permissions());
    if (::access(QFile::encodeName(Database()).constData(), R_OK) != 0) // root reads anything
        expectRebuilt("unreadable");
}

// Another program's database with a write still in its journal: set aside whole (the row
// is still there), and the new database never takes the journal for its own.
TEST_F(ResultCacheTest, AJournalGoesAsideWithItsDatabase)
{
    const QString foreign = Path(u"foreign.db"_s);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"writer"_s);
        db.setDatabaseName(foreign);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const QString &statement : {u"PRAGMA journal_mode=WAL"_s, u"PRAGMA wal_autocheckpoint=0"_s,
                                         u"CREATE TABLE notes (x)"_s, u"INSERT INTO notes VALUES ('unsaved')"_s})
            ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
        // Copied while still open: the table and its row are in the journal only.
        ASSERT_TRUE(QFile::copy(foreign, Database()));
        ASSERT_TRUE(QFile::copy(foreign + u"-wal"_s, Database() + u"-wal"_s));
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(u"writer"_s);
    const QByteArray journal = test::ReadBytes(Database() + u"-wal"_s);
    ASSERT_FALSE(journal.isEmpty());
    QString setAside;
    {
        CResultCache cache(Database());
        ASSERT_EQ(cache.State(), CResultCache::EState::Rebuilt);
        setAside = cache.SetAsidePath();
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"reader"_s);
        db.setDatabaseName(setAside);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(u"SELECT x FROM notes"_s) && query.next());
        EXPECT_EQ(query.value(0).toString(), u"unsaved"_s);
    }
    QSqlDatabase::removeDatabase(u"reader"_s);
    CResultCache cache(Database());
    EXPECT_EQ(cache.State(), CResultCache::EState::Opened);
}

TEST_F(ResultCacheTest, ASecondUserFindsTheDatabaseLockedAndRunsWithoutIt)
{
    test::WriteBytes(Path(u"f.mp3"_s), "x");
    {
        CResultCache maker(Database());
        ASSERT_EQ(maker.State(), CResultCache::EState::Created);
    }
    CResultCache first(Database());
    ASSERT_EQ(first.State(), CResultCache::EState::Opened);
    CResultCache second(Database());
    EXPECT_EQ(second.State(), CResultCache::EState::Locked);
    EXPECT_FALSE(second.Usable());
    second.Store(ECacheKind::SongFile, KeyOf(Path(u"f.mp3"_s)), "ignored");
    second.Preload(ECacheKind::SongFile, m_dir.path());
    EXPECT_EQ(second.LoadedRows(), 0);
    EXPECT_TRUE(QFileInfo(Database()).isFile()); // nothing set aside
    EXPECT_FALSE(QFileInfo::exists(Database() + u".set-aside-"_s));
}

TEST_F(ResultCacheTest, RowsOfWrongTypesAreSkippedAndWritesComeInBatches)
{
    test::WriteBytes(Path(u"lib/a.mp3"_s), "x");
    const SFileKey key = KeyOf(Path(u"lib/a.mp3"_s));
    {
        CResultCache cache(Database());
        cache.SetContext(ECacheKind::SongFile, u"c"_s);
        for (int i = 0; i < CResultCache::kBatchRows; ++i) {
            SFileKey other = key;
            other.nativePath += QByteArray::number(i);
            cache.Store(ECacheKind::SongFile, other, "v");
        }
    }
    // Every column of one row replaced by a text: the row is skipped, the rest still load.
    ExecuteOn(Database(), u"UPDATE results SET size = 'big' WHERE path = ?"_s, {key.nativePath + "0"});
    ExecuteOn(Database(), u"UPDATE results SET value = 'text' WHERE path = ?"_s, {key.nativePath + "1"});
    CResultCache cache(Database());
    ASSERT_EQ(cache.State(), CResultCache::EState::Opened);
    cache.Preload(ECacheKind::SongFile, Path(u"lib"_s));
    EXPECT_EQ(cache.LoadedRows(), CResultCache::kBatchRows - 2);
}

// Loaded values are kept in blocks of about a mebibyte; values that end a block, start the
// next, or are larger than a block must each come back whole.
TEST_F(ResultCacheTest, LoadedValuesOfEverySizeComeBackWhole)
{
    const QList<qsizetype> sizes = {0, 1, 700'000, 348'575, 1, 2'500'000, 300'000, 748'576, 100, 0, 1'048'576};
    QList<QByteArray> values;
    {
        CResultCache cache(Database());
        cache.SetContext(ECacheKind::MediaDetails, u"blocks"_s);
        for (int i = 0; i < sizes.size(); ++i) {
            QByteArray value(sizes[i], char('a' + i));
            if (!value.isEmpty())
                value.back() = char('A' + i);
            values.append(value);
            test::WriteBytes(Path(u"lib/f%1"_s.arg(i)), QByteArray::number(i));
            cache.Store(ECacheKind::MediaDetails, KeyOf(Path(u"lib/f%1"_s.arg(i))), value);
        }
    }
    CResultCache cache(Database());
    cache.SetContext(ECacheKind::MediaDetails, u"blocks"_s);
    cache.Preload(ECacheKind::MediaDetails, Path(u"lib"_s));
    ASSERT_EQ(cache.LoadedRows(), int(sizes.size()));
    for (int i = 0; i < sizes.size(); ++i) {
        const std::optional<QByteArray> found = cache.Find(ECacheKind::MediaDetails, KeyOf(Path(u"lib/f%1"_s.arg(i))));
        ASSERT_TRUE(found.has_value()) << i;
        EXPECT_TRUE(*found == values[i]) << i << ": " << found->size() << " bytes";
    }
}
