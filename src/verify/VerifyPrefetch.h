#pragma once

#include "check/DirListObserver.h"
#include "verify/FileVerify.h"

#include <QHash>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velmora {

class CDirItemList;
class CResultCache;

// Verifies files on worker threads while the song check is still running: each file the
// walk adds is read as soon as a worker is free, so the reading overlaps the check's own
// work. What a file gives depends on its bytes alone, so the verdicts are the same as
// without it.
class CVerifyPrefetch
{
public:
    // With a cache, unchanged files it holds are not read again (see CachedVerify.h).
    explicit CVerifyPrefetch(int jobs, CResultCache *cache = nullptr);
    ~CVerifyPrefetch();
    CVerifyPrefetch(const CVerifyPrefetch &) = delete;
    CVerifyPrefetch &operator=(const CVerifyPrefetch &) = delete;

    void Add(const QString &path);
    // True for a file added before and not taken yet.
    bool Holds(const QString &path);
    // The findings of a file added before, waiting for them when they are not ready yet;
    // nullopt for a file never added. Each file's findings are handed out once.
    std::optional<SFileFindings> Take(const QString &path);

private:
    void RunWorker();

    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_done;
    std::deque<QString> m_queue;
    QHash<QString, std::optional<SFileFindings>> m_results; // nullopt while being read
    std::vector<std::thread> m_workers;
    CResultCache *m_cache;
    bool m_stop = false;
};

// Hands every file row the walk adds to a prefetch; the list's own observer, if any, is
// told everything as before.
class CVerifyPrefetchObserver final : public IDirListObserver
{
public:
    CVerifyPrefetchObserver(CDirItemList &list, CVerifyPrefetch &prefetch, IDirListObserver *next = nullptr)
        : m_list(list), m_prefetch(prefetch), m_next(next)
    {
    }
    void OnListCleared() override;
    void OnRowAdded(int row, int count) override;
    void OnItemCountSet(int count) override;
    void OnRowsRedrawn(int first, int last) override;
    void OnColumnHeadersRenamed() override;
    void OnColumnAutoSized(int column) override;
    void OnBusyChanged(bool busy) override;
    void OnProgress(int done, int total) override;

private:
    CDirItemList &m_list;
    CVerifyPrefetch &m_prefetch;
    IDirListObserver *m_next;
};

} // namespace velmora
