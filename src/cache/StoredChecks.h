#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

class CResultCache;

// Bytes packed (Zstandard), and how many they unpack to.
struct SPackedBytes
{
    QByteArray packed;
    qint64 nSize = 0;
};

// A whole check as it was shown and logged, with the description of the tree it saw.
struct SStoredCheck
{
    SPackedBytes tree;
    SPackedBytes rows;
    SPackedBytes directoryLog;
    SPackedBytes errorLog;
    int nExitStatus = 0;
};

// Whole checks kept in the results cache's database beside the per-file results, one per
// key (what the check was asked and what its results depend on), the kKept most recently
// used. Everything here runs on the thread that made the cache; with an unusable cache
// nothing is found or kept.
class CStoredChecks
{
public:
    static constexpr int kKept = 8;

    explicit CStoredChecks(CResultCache &cache);

    // The check kept under key; nullopt when there is none or it does not read back whole.
    std::optional<SStoredCheck> Find(const QString &key);
    // Keeps check under key in place of any before it; false when it could not be written.
    bool Keep(const QString &key, const SStoredCheck &check);

private:
    bool MakeTable();

    QString m_connection;
    bool m_bReady = false;
};

} // namespace velmora
