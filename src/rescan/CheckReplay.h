#pragma once

#include "cache/StoredChecks.h"
#include "check/CheckTuning.h"
#include "rescan/TreeDescription.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace velmora {

class CResultCache;
class CRunLogs;

// What a whole check's rows and logs are made from besides the tree: the kind of check, the
// folder, how the rows are printed, and the context of every reader its results depend on.
QString CheckReplayKey(bool songs, const QString &folder, const QString &printing, EReportEngine engine);

// A check of a tree that has not changed since it was last checked the same way, answered
// with the rows and logs of that check instead of being done again. "Not changed" is exact:
// the tree's description (every folder and entry, its size, times, inode and mode) is
// compared byte for byte with the one kept. A check is kept only when no entry had changed
// within kSettledSeconds before it began.
class CCheckReplay
{
public:
    // Larger kept parts are never unpacked.
    static constexpr qint64 kMaxPartBytes = qint64(1) << 30;

    CCheckReplay(CResultCache &cache, QString key, QString folder);

    // Describes the tree; true when a check kept under the key saw the same tree and its
    // rows read back whole (Rows, ExitStatus).
    bool FindUnchanged(const WalkStopCheck &stopRequested);
    const QByteArray &Rows() const { return m_rows; }
    int ExitStatus() const { return m_stored ? m_stored->nExitStatus : 0; }
    // Appends the kept logs to the open run logs; false when they did not read back whole,
    // and the logs then hold part of them.
    bool WriteLogs(CRunLogs &logs) const;

    // After the check was done in full instead: keeps its rows, exit status and the run logs
    // it wrote (files closed by now) under the description FindUnchanged took.
    bool Keep(const QByteArray &rows, int exitStatus, const QString &directoryLog, const QString &errorLog);

private:
    CStoredChecks m_store;
    QString m_key;
    QString m_folder;
    std::optional<SStoredCheck> m_stored;
    STreeDescription m_walk;
    qint64 m_nWalkStartNs = 0;
    QByteArray m_description; // when it differs from the kept one
    QByteArray m_rows;
};

} // namespace velmora
