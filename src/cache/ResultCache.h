#pragma once

#include "cache/FileKey.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>

namespace velmora {

// The kinds of results kept, one row per file and kind.
enum class ECacheKind : int { SongFile = 1, MediaDetails = 2, Verify = 3 };

// Per-file results of the checks, kept in an SQLite database between runs so that a check of
// an unchanged library reads no file twice. A row counts only for the same file (SFileKey)
// and the same context (the program and the readers and settings the result depends on);
// anything else, and any row that does not read back whole, is a miss, and the file is read
// again. The database belongs to one process at a time: another one finds it locked and
// runs without it.
class CResultCache
{
public:
    enum class EState {
        Opened,   // an existing database of this program
        Created,  // a new, empty one
        Rebuilt,  // what lay at the name was set aside and a new one made
        Locked,   // in use by another process: nothing is looked up or kept
        Failed    // no database could be opened or made: nothing is looked up or kept
    };
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBatchRows = 256;

    // Opens the database at path, making it when missing. A file there that is not this
    // program's database of this schema is renamed beside it and a new one made.
    explicit CResultCache(const QString &databasePath);
    ~CResultCache();
    CResultCache(const CResultCache &) = delete;
    CResultCache &operator=(const CResultCache &) = delete;

    EState State() const { return m_state; }
    bool Usable() const { return m_state != EState::Locked && m_state != EState::Failed; }
    // Where the file found at the name was put, after a rebuild.
    QString SetAsidePath() const { return m_setAsidePath; }

    // What a kind's results depend on besides the file; rows made under another context
    // are misses. Set it before Preload.
    void SetContext(ECacheKind kind, const QString &context);
    // Reads the rows of one kind for the files below folder into memory; lookups miss for
    // anything not loaded. Runs on the thread that made the cache.
    void Preload(ECacheKind kind, const QString &folder);

    // Safe from any thread.
    std::optional<QByteArray> Find(ECacheKind kind, const SFileKey &key) const;
    // Safe from any thread; written to the database in batches of kBatchRows rows by the
    // thread that made the cache (when it stores, on WritePending and at the end).
    void Store(ECacheKind kind, const SFileKey &key, const QByteArray &value);
    void WritePending();
    // Writes what other threads stored once a whole batch of it is waiting.
    void WriteFullBatches();

    // The open database's Qt SQL connection, for tables kept beside the results; empty when
    // the cache is not usable. Only for the thread that made the cache.
    QString ConnectionName() const { return Usable() && QThread::currentThreadId() == m_owner ? m_connection : QString(); }

    // Rows loaded and lookups that found their row, for tests and the trace.
    qsizetype LoadedRows() const;
    int Hits() const;

private:
    struct SKeyHash
    {
        quint64 nLow = 0;
        quint64 nHigh = 0;
        friend bool operator==(const SKeyHash &, const SKeyHash &) = default;
        friend size_t qHash(const SKeyHash &key, size_t seed = 0) { return size_t(key.nLow) ^ seed; }
    };
    struct SLoadedRow
    {
        qint64 nSize = 0;
        qint64 nModifiedNs = 0;
        qint64 nChangedNs = 0;
        quint64 nInode = 0;
        quint64 nContext = 0;
        quint32 nMode = 0;
        quint32 nBlock = 0; // where the value is kept: block, offset in it, length
        quint32 nOffset = 0;
        quint32 nLength = 0;
    };
    struct SPendingRow
    {
        ECacheKind kind;
        SFileKey key;
        quint64 nContext = 0;
        QByteArray value;
    };

    enum class EAttempt { Ready, Locked, SetAside, Failed };

    static SKeyHash HashOf(ECacheKind kind, const QByteArray &nativePath);
    void KeepValue(const QByteArray &value, SLoadedRow &row);
    EAttempt Attempt();
    EAttempt Prepare();
    bool CreateSchema();
    bool SetAside();
    void Close();
    void WriteBatch(QList<SPendingRow> rows);
    quint64 ContextOf(ECacheKind kind) const;

    QString m_path;
    QString m_connection;
    EState m_state = EState::Failed;
    QString m_setAsidePath;
    Qt::HANDLE m_owner = nullptr;
    bool m_bWriteFailed = false;

    // One per kind, read by lookups on other threads.
    std::atomic<quint64> m_contexts[4] = {};
    mutable std::shared_mutex m_loadedMutex;
    QHash<SKeyHash, SLoadedRow> m_loaded;
    // The loaded rows' values, one after the other in blocks of about a mebibyte: one array
    // for all of them would reserve up to twice their size as it grew.
    QList<QByteArray> m_valueBlocks;
    mutable std::atomic<int> m_hits = 0;

    std::mutex m_pendingMutex;
    QList<SPendingRow> m_pending;
};

// The database of the user data folder.
QString ResultCachePath();

} // namespace velmora
