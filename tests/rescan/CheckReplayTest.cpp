#include "TestSupport.h"

#include "base/RunLogs.h"
#include "cache/FileKey.h"
#include "cache/ResultCache.h"
#include "cache/StoredChecks.h"
#include "rescan/CheckReplay.h"
#include "rescan/PackedStreams.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kKey = u"songs of the test tree"_s;

void LetFilesSettle()
{
    QThread::msleep(kSettledSeconds * 1000 + 100);
}

// Runs an SQL statement on the database at path, as another program (or damage) would.
void Alter(const QString &database, const QString &statement, const QVariantList &values = {})
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"alterer"_s);
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.prepare(statement));
        for (const QVariant &value : values)
            query.addBindValue(value);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(u"alterer"_s);
}

class CheckReplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteBytes(Tree(u"Artist/Song.mp3"_s), QByteArray(50000, 'm'));
        test::WriteBytes(Tree(u"Artist/Song.cdg"_s), QByteArray(24000, 'c'));
        test::WriteBytes(Tree(u"Loose.kar"_s), QByteArray(900, 'k'));
        QByteArray directory = "\xFF\xFE";
        QByteArray errors = "\xFF\xFE";
        for (int i = 0; i < 3000; ++i) {
            const QString line = u"LIST, AddListItem /songs/KV%1.mp3\r\n"_s.arg(i);
            directory.append(reinterpret_cast<const char *>(line.utf16()), line.size() * 2);
            if (i % 100 == 0)
                errors.append(reinterpret_cast<const char *>(line.utf16()), line.size() * 2);
        }
        test::WriteBytes(Data(u"kept-directory.log"_s), directory);
        test::WriteBytes(Data(u"kept-error.log"_s), errors);
        for (int i = 0; i < 5000; ++i)
            m_rows.append("  Song " + QByteArray::number(i) + ".mp3    MP3 File    Title    3:25\n");
    }

    QString Tree(const QString &name = {}) const { return name.isEmpty() ? m_tree.path() : m_tree.filePath(name); }
    QString Data(const QString &name) const { return m_data.filePath(name); }
    QString Database() const { return Data(u"results-cache.sqlite"_s); }

    // Keeps m_rows and the logs as the check of the tree under key; whether they were kept.
    bool KeepCheck(CResultCache &cache, const QString &key = kKey) const
    {
        CCheckReplay replay(cache, key, Tree());
        EXPECT_FALSE(replay.FindUnchanged({}));
        return replay.Keep(m_rows, 1, Data(u"kept-directory.log"_s), Data(u"kept-error.log"_s));
    }

    bool Unchanged(CResultCache &cache, const QString &key = kKey) const
    {
        return CCheckReplay(cache, key, Tree()).FindUnchanged({});
    }

    QTemporaryDir m_tree;
    QTemporaryDir m_data;
    QByteArray m_rows;
};

} // namespace

// The kept check comes back byte for byte, for its own key and its own tree only, and any
// change to the tree makes it a miss.
TEST_F(CheckReplay, AKeptCheckComesBackWholeForTheSameKeyAndTreeOnly)
{
    LetFilesSettle();
    CResultCache cache(Database());
    ASSERT_TRUE(cache.Usable());
    ASSERT_TRUE(KeepCheck(cache));

    CCheckReplay replay(cache, kKey, Tree());
    ASSERT_TRUE(replay.FindUnchanged({}));
    EXPECT_EQ(replay.Rows(), m_rows);
    EXPECT_EQ(replay.ExitStatus(), 1);
    {
        test::CLogCapture capture;
        ASSERT_TRUE(replay.WriteLogs(capture.Logs()));
        capture.Logs().CloseRunLogs();
        EXPECT_EQ(test::ReadBytes(capture.Folder() + u"/directory.log"_s), test::ReadBytes(Data(u"kept-directory.log"_s)));
        EXPECT_EQ(test::ReadBytes(capture.Folder() + u"/error.log"_s), test::ReadBytes(Data(u"kept-error.log"_s)));
    }
    EXPECT_FALSE(Unchanged(cache, kKey + u" printed as JSON"_s));
    EXPECT_TRUE(Unchanged(cache)); // finding it changed nothing

    test::WriteBytes(Tree(u"Artist/New Song.mp3"_s), "new");
    EXPECT_FALSE(Unchanged(cache));
    ASSERT_TRUE(QFile::remove(Tree(u"Artist/New Song.mp3"_s)));
    EXPECT_FALSE(Unchanged(cache)) << "the folder's times moved on, so it is not the tree that was kept";
}

// Damage to what is kept is a miss or a failed log replay, never wrong rows or a crash.
TEST_F(CheckReplay, DamagedKeptChecksAreNeverReplayed)
{
    LetFilesSettle();
    {
        CResultCache cache(Database());
        ASSERT_TRUE(KeepCheck(cache));
    }
    const auto reopened = [&](const std::function<void(CResultCache &)> &check) {
        CResultCache cache(Database());
        ASSERT_TRUE(cache.Usable());
        check(cache);
    };
    Alter(Database(), u"UPDATE checks SET rows_size = ?"_s, {qint64(1) << 40});
    reopened([&](CResultCache &cache) { EXPECT_FALSE(Unchanged(cache)); });
    Alter(Database(), u"UPDATE checks SET rows_size = ?, rows = ?"_s, {m_rows.size(), QByteArray("garbage")});
    reopened([&](CResultCache &cache) { EXPECT_FALSE(Unchanged(cache)); });
    Alter(Database(), u"UPDATE checks SET tree = ?"_s, {QByteArray("garbage")});
    reopened([&](CResultCache &cache) { EXPECT_FALSE(Unchanged(cache)); });
    Alter(Database(), u"UPDATE checks SET status = 'x'"_s);
    reopened([&](CResultCache &cache) { EXPECT_FALSE(Unchanged(cache)); });

    // Whole rows but cut logs: found, and the replay of the logs says it failed.
    reopened([&](CResultCache &cache) { ASSERT_TRUE(KeepCheck(cache)); });
    CPacker packer;
    packer.Add("\xFF\xFE");
    const QByteArray packed = packer.Finish();
    Alter(Database(), u"UPDATE checks SET directory_log = ?"_s, {packed.left(packed.size() - 2)});
    reopened([&](CResultCache &cache) {
        CCheckReplay replay(cache, kKey, Tree());
        ASSERT_TRUE(replay.FindUnchanged({}));
        test::CLogCapture capture;
        EXPECT_FALSE(replay.WriteLogs(capture.Logs()));
    });
}

// A tree that was still being written is not kept. One that changed while the check ran is
// kept under the description from before, which it never has again: the check is not
// replayed, and the next check of the settled tree is kept and replayed as usual.
TEST_F(CheckReplay, ATreeThatChangedIsNeverAnsweredWithACheckOfAnother)
{
    CResultCache cache(Database());
    EXPECT_FALSE(KeepCheck(cache)) << "written just now";
    LetFilesSettle();
    {
        CCheckReplay replay(cache, kKey, Tree());
        EXPECT_FALSE(replay.FindUnchanged({}));
        test::WriteBytes(Tree(u"Loose.kar"_s), QByteArray(901, 'k')); // while "the check runs"
        EXPECT_TRUE(replay.Keep(m_rows, 0, Data(u"kept-directory.log"_s), Data(u"kept-error.log"_s)));
    }
    EXPECT_FALSE(Unchanged(cache));
    LetFilesSettle();
    ASSERT_TRUE(KeepCheck(cache));
    EXPECT_TRUE(Unchanged(cache));

    CCheckReplay stopped(cache, kKey, Tree());
    EXPECT_FALSE(stopped.FindUnchanged([](qint64) { return true; }));
    EXPECT_FALSE(stopped.Keep(m_rows, 0, Data(u"kept-directory.log"_s), Data(u"kept-error.log"_s)));
    EXPECT_FALSE(CCheckReplay(cache, kKey, Tree()).Keep(m_rows, 0, Data(u"kept-directory.log"_s),
                                                         Data(u"kept-error.log"_s)))
        << "nothing was described";
    EXPECT_TRUE(Unchanged(cache)) << "what failed to be kept left the kept check alone";
}

// Only the most recently used checks are kept; a database made before whole checks were kept
// gets their table; a database held by another process keeps nothing.
TEST_F(CheckReplay, TheStoreKeepsTheMostRecentlyUsedChecks)
{
    SStoredCheck check;
    for (SPackedBytes *part : {&check.tree, &check.rows, &check.directoryLog, &check.errorLog}) {
        CPacker packer;
        packer.Add("part");
        *part = SPackedBytes{packer.Finish(), 4};
    }
    {
        CResultCache cache(Database());
        CStoredChecks store(cache);
        for (int i = 0; i < CStoredChecks::kKept; ++i) {
            check.nExitStatus = i;
            ASSERT_TRUE(store.Keep(u"key %1"_s.arg(i), check));
        }
        ASSERT_TRUE(store.Find(u"key 0"_s)); // now the most recently used
        ASSERT_TRUE(store.Keep(u"key new"_s, check));
        EXPECT_EQ(store.Find(u"key 0"_s)->nExitStatus, 0);
        EXPECT_FALSE(store.Find(u"key 1"_s)) << "the least recently used was let go";
        EXPECT_TRUE(store.Find(u"key 2"_s));
        EXPECT_EQ(store.Find(u"key new"_s)->rows.packed, check.rows.packed);
    }
    Alter(Database(), u"DROP TABLE checks"_s);
    {
        CResultCache cache(Database());
        CStoredChecks store(cache);
        EXPECT_FALSE(store.Find(u"key 0"_s));
        EXPECT_TRUE(store.Keep(u"key 0"_s, check));
        EXPECT_TRUE(store.Find(u"key 0"_s));

        CResultCache held(Database());
        ASSERT_EQ(held.State(), CResultCache::EState::Locked);
        CStoredChecks other(held);
        EXPECT_FALSE(other.Find(u"key 0"_s));
        EXPECT_FALSE(other.Keep(u"key 1"_s, check));
    }
}
