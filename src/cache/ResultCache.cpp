#include "cache/ResultCache.h"

#include "base/TraceDebug.h"
#include "base/UserPaths.h"
#include "platform/NativeName.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sys/stat.h>
#include <xxhash.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// "VLMR": tells this program's databases from any other SQLite file at the name.
constexpr qint64 kApplicationId = 0x564C4D52;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;

const QStringList kCompanionSuffixes = {u"-wal"_s, u"-shm"_s, u"-journal"_s};

std::atomic<int> g_connections = 0;

int PrimaryCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xFF;
}

bool IsLockError(const QSqlError &error)
{
    const int code = PrimaryCode(error);
    return code == kSqliteBusy || code == kSqliteLocked;
}

// What lies at a name: nothing, a plain file, or something SQLite must never open (a link,
// a folder, a pipe that would block the open forever).
enum class EEntry { Missing, File, Other };

EEntry EntryAt(const QString &path)
{
    struct stat info {};
    if (::lstat(EncodeNativeName(path).constData(), &info) != 0)
        return EEntry::Missing;
    return S_ISREG(info.st_mode) ? EEntry::File : EEntry::Other;
}

bool RenameEntry(const QString &from, const QString &to)
{
    return std::rename(EncodeNativeName(from).constData(), EncodeNativeName(to).constData()) == 0;
}

// A free name beside path for the file set aside, with its companions.
QString SetAsideName(const QString &path)
{
    const QString stem = path + u".set-aside-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-hhmmss"_s);
    for (int n = 1;; ++n) {
        const QString candidate = n == 1 ? stem : stem + u'-' + QString::number(n);
        bool free = EntryAt(candidate) == EEntry::Missing;
        for (const QString &suffix : kCompanionSuffixes)
            free = free && EntryAt(candidate + suffix) == EEntry::Missing;
        if (free)
            return candidate;
    }
}

std::optional<qint64> IntegerOf(const QVariant &value)
{
    if (value.typeId() != QMetaType::LongLong && value.typeId() != QMetaType::Int)
        return std::nullopt;
    return value.toLongLong();
}

} // namespace

QString ResultCachePath()
{
    return UserDataPath(u"results-cache.sqlite"_s);
}

CResultCache::CResultCache(const QString &databasePath)
    : m_path(databasePath)
    , m_connection(u"velmora-results-%1"_s.arg(g_connections.fetch_add(1)))
    , m_owner(QThread::currentThreadId())
{
    bool otherKind = false;
    for (const QString &suffix : QStringList{QString()} + kCompanionSuffixes)
        otherKind = otherKind || EntryAt(m_path + suffix) == EEntry::Other;
    if (otherKind) {
        TraceDebug(u"results cache: %s is not a plain file; set aside\n", m_path);
        if (!SetAside())
            return;
    }
    EAttempt attempt = Attempt();
    if (attempt == EAttempt::SetAside) {
        if (!SetAside())
            return;
        attempt = Attempt();
    }
    if (attempt == EAttempt::Ready) {
        if (!m_setAsidePath.isEmpty())
            m_state = EState::Rebuilt;
        return;
    }
    Close();
    if (attempt == EAttempt::Locked) {
        TraceDebug(u"results cache: %s is in use by another velmora; this check runs without it\n", m_path);
        m_state = EState::Locked;
    } else {
        TraceDebug(u"results cache: %s cannot be opened or made; this check runs without it\n", m_path);
        m_state = EState::Failed;
    }
}

CResultCache::~CResultCache()
{
    WritePending();
    Close();
}

CResultCache::EAttempt CResultCache::Attempt()
{
    const bool existed = EntryAt(m_path) == EEntry::File;
    bool opened = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
        if (!db.isValid()) {
            TraceDebug(u"results cache: Qt has no SQLite driver\n");
            return EAttempt::Failed;
        }
        db.setDatabaseName(m_path);
        // Another process holding the database is an answer at once, never a wait.
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
        opened = db.open();
        if (!opened)
            TraceDebug(u"results cache: cannot open %s: %s\n", m_path, db.lastError().text());
    }
    if (!opened) {
        Close();
        return existed ? EAttempt::SetAside : EAttempt::Failed;
    }
    const EAttempt attempt = Prepare();
    if (attempt != EAttempt::Ready)
        Close();
    return attempt;
}

// Reads what the file at the name is; a new one gets the schema.
CResultCache::EAttempt CResultCache::Prepare()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    const auto failure = [&] {
        if (IsLockError(query.lastError()))
            return EAttempt::Locked;
        TraceDebug(u"results cache: %s does not read as a database: %s\n", m_path, query.lastError().text());
        return EAttempt::SetAside;
    };
    // One process at a time: the lock, taken at the first read, is held until the end, and
    // the write-ahead log then needs no shared memory beside the file.
    if (!query.exec(u"PRAGMA locking_mode=EXCLUSIVE"_s))
        return failure();
    qint64 values[3] = {};
    const QString questions[3] = {u"PRAGMA application_id"_s, u"PRAGMA user_version"_s,
                                  u"SELECT count(*) FROM sqlite_master"_s};
    for (int i = 0; i < 3; ++i) {
        if (!query.exec(questions[i]))
            return failure();
        const std::optional<qint64> value = query.next() ? IntegerOf(query.value(0)) : std::nullopt;
        if (!value)
            return EAttempt::SetAside;
        values[i] = *value;
        query.finish();
    }
    const qint64 applicationId = values[0];
    const qint64 version = values[1];
    if (applicationId == 0 && version == 0 && values[2] == 0)
        return CreateSchema() ? EAttempt::Ready : EAttempt::Failed;
    if (applicationId != kApplicationId || version != kSchemaVersion) {
        TraceDebug(u"results cache: %s is %s; set aside\n", m_path,
                   applicationId == kApplicationId ? u"of schema version %1, not %2"_s.arg(version).arg(kSchemaVersion)
                                                   : u"no database of velmora"_s);
        return EAttempt::SetAside;
    }
    if (!query.exec(u"PRAGMA journal_mode=WAL"_s))
        return failure();
    query.finish();
    if (!query.exec(u"SELECT kind, path, size, modified, changed, inode, mode, context, value FROM results LIMIT 1"_s))
        return failure();
    query.finish();
    // Taking the write lock now tells a second process at once that the database is taken.
    if (!query.exec(u"BEGIN IMMEDIATE"_s) || !query.exec(u"COMMIT"_s))
        return failure();
    query.exec(u"PRAGMA synchronous=NORMAL"_s);
    m_state = EState::Opened;
    return EAttempt::Ready;
}

bool CResultCache::CreateSchema()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    const bool made = query.exec(u"PRAGMA journal_mode=WAL"_s) && query.exec(u"PRAGMA synchronous=NORMAL"_s)
        && query.exec(u"BEGIN IMMEDIATE"_s)
        && query.exec(u"CREATE TABLE results (kind INTEGER NOT NULL, path BLOB NOT NULL, size INTEGER NOT NULL,"
                      " modified INTEGER NOT NULL, changed INTEGER NOT NULL, inode INTEGER NOT NULL,"
                      " mode INTEGER NOT NULL, context INTEGER NOT NULL, value BLOB NOT NULL,"
                      " PRIMARY KEY (kind, path)) WITHOUT ROWID"_s)
        && query.exec(u"PRAGMA application_id=%1"_s.arg(kApplicationId))
        && query.exec(u"PRAGMA user_version=%1"_s.arg(kSchemaVersion)) && query.exec(u"COMMIT"_s);
    if (!made) {
        TraceDebug(u"results cache: cannot make %s: %s\n", m_path, query.lastError().text());
        return false;
    }
    TraceDebug(u"results cache: made %s\n", m_path);
    m_state = EState::Created;
    return true;
}

// Renames the file at the name, with its journal files, to a free name beside it.
bool CResultCache::SetAside()
{
    const QString target = SetAsideName(m_path);
    bool moved = EntryAt(m_path) == EEntry::Missing || RenameEntry(m_path, target);
    for (const QString &suffix : kCompanionSuffixes) {
        if (EntryAt(m_path + suffix) != EEntry::Missing)
            moved = RenameEntry(m_path + suffix, target + suffix) && moved;
    }
    if (!moved) {
        TraceDebug(u"results cache: cannot set %s aside; this check runs without it\n", m_path);
        m_state = EState::Failed;
        return false;
    }
    TraceDebug(u"results cache: %s set aside as %s; a new one is made\n", m_path, target);
    m_setAsidePath = target;
    return true;
}

void CResultCache::Close()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

CResultCache::SKeyHash CResultCache::HashOf(ECacheKind kind, const QByteArray &nativePath)
{
    const XXH128_hash_t hash = XXH3_128bits_withSeed(nativePath.constData(), size_t(nativePath.size()), XXH64_hash_t(kind));
    return SKeyHash{hash.low64, hash.high64};
}

void CResultCache::SetContext(ECacheKind kind, const QString &context)
{
    const QByteArray bytes = context.toUtf8();
    m_contexts[int(kind)] = XXH3_64bits(bytes.constData(), size_t(bytes.size()));
}

quint64 CResultCache::ContextOf(ECacheKind kind) const
{
    return m_contexts[int(kind)];
}

void CResultCache::Preload(ECacheKind kind, const QString &folder)
{
    if (!Usable() || QThread::currentThreadId() != m_owner)
        return;
    QByteArray low = EncodeNativeName(folder);
    if (!low.endsWith('/'))
        low.append('/');
    QByteArray high = low;
    high.back() = char('/' + 1);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT path, size, modified, changed, inode, mode, context, value FROM results"
                  " WHERE kind = ? AND path >= ? AND path < ?"_s);
    query.addBindValue(int(kind));
    query.addBindValue(low);
    query.addBindValue(high);
    if (!query.exec()) {
        TraceDebug(u"results cache: cannot read %s: %s\n", m_path, query.lastError().text());
        return;
    }
    const std::unique_lock<std::shared_mutex> lock(m_loadedMutex);
    while (query.next()) {
        const QVariant path = query.value(0);
        const QVariant value = query.value(7);
        if (path.typeId() != QMetaType::QByteArray || value.typeId() != QMetaType::QByteArray)
            continue;
        std::optional<qint64> fields[6];
        bool whole = true;
        for (int i = 0; i < 6; ++i) {
            fields[i] = IntegerOf(query.value(i + 1));
            whole = whole && fields[i].has_value();
        }
        if (!whole)
            continue;
        const QByteArray bytes = value.toByteArray();
        SLoadedRow row;
        row.nSize = *fields[0];
        row.nModifiedNs = *fields[1];
        row.nChangedNs = *fields[2];
        row.nInode = quint64(*fields[3]);
        row.nMode = quint32(*fields[4]);
        row.nContext = quint64(*fields[5]);
        KeepValue(bytes, row);
        m_loaded.insert(HashOf(kind, path.toByteArray()), row);
    }
}

void CResultCache::KeepValue(const QByteArray &value, SLoadedRow &row)
{
    constexpr qsizetype kBlockBytes = 1 << 20;
    if (m_valueBlocks.isEmpty() || m_valueBlocks.last().size() + value.size() > kBlockBytes) {
        QByteArray block;
        block.reserve(std::max(kBlockBytes, value.size()));
        m_valueBlocks.append(std::move(block));
    }
    QByteArray &block = m_valueBlocks.last();
    row.nBlock = quint32(m_valueBlocks.size() - 1);
    row.nOffset = quint32(block.size());
    row.nLength = quint32(value.size());
    block.append(value);
}

std::optional<QByteArray> CResultCache::Find(ECacheKind kind, const SFileKey &key) const
{
    const quint64 context = ContextOf(kind);
    const std::shared_lock<std::shared_mutex> lock(m_loadedMutex);
    const auto found = m_loaded.constFind(HashOf(kind, key.nativePath));
    if (found == m_loaded.cend())
        return std::nullopt;
    const SLoadedRow &row = *found;
    if (row.nSize != key.nSize || row.nModifiedNs != key.nModifiedNs || row.nChangedNs != key.nChangedNs
        || row.nInode != key.nInode || row.nMode != key.nMode || row.nContext != context)
        return std::nullopt;
    ++m_hits;
    return m_valueBlocks.at(row.nBlock).mid(row.nOffset, row.nLength);
}

void CResultCache::Store(ECacheKind kind, const SFileKey &key, const QByteArray &value)
{
    if (!Usable() || m_bWriteFailed)
        return;
    bool full = false;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        m_pending.append(SPendingRow{kind, key, ContextOf(kind), value});
        full = m_pending.size() >= kBatchRows;
    }
    if (full && QThread::currentThreadId() == m_owner)
        WritePending();
}

void CResultCache::WritePending()
{
    if (!Usable() || QThread::currentThreadId() != m_owner)
        return;
    QList<SPendingRow> rows;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        rows.swap(m_pending);
    }
    while (!rows.isEmpty() && !m_bWriteFailed) {
        const qsizetype count = std::min<qsizetype>(rows.size(), kBatchRows);
        WriteBatch(rows.first(count));
        rows.remove(0, count);
    }
}

void CResultCache::WriteFullBatches()
{
    bool full = false;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        full = m_pending.size() >= kBatchRows;
    }
    if (full)
        WritePending();
}

// One transaction per batch: a crash loses at most the batch being written.
void CResultCache::WriteBatch(QList<SPendingRow> rows)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        TraceDebug(u"results cache: cannot write %s: %s\n", m_path, db.lastError().text());
        m_bWriteFailed = true;
        return;
    }
    QSqlQuery query(db);
    query.prepare(u"INSERT OR REPLACE INTO results (kind, path, size, modified, changed, inode, mode, context, value)"
                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (const SPendingRow &row : rows) {
        query.addBindValue(int(row.kind));
        query.addBindValue(row.key.nativePath);
        query.addBindValue(row.key.nSize);
        query.addBindValue(row.key.nModifiedNs);
        query.addBindValue(row.key.nChangedNs);
        query.addBindValue(qint64(row.key.nInode));
        query.addBindValue(qint64(row.key.nMode));
        query.addBindValue(qint64(row.nContext));
        query.addBindValue(row.value);
        if (!query.exec()) {
            TraceDebug(u"results cache: cannot write %s: %s\n", m_path, query.lastError().text());
            db.rollback();
            m_bWriteFailed = true;
            return;
        }
    }
    if (!db.commit()) {
        TraceDebug(u"results cache: cannot write %s: %s\n", m_path, db.lastError().text());
        m_bWriteFailed = true;
    }
}

qsizetype CResultCache::LoadedRows() const
{
    const std::shared_lock<std::shared_mutex> lock(m_loadedMutex);
    return m_loaded.size();
}

int CResultCache::Hits() const
{
    return m_hits;
}

} // namespace velmora
