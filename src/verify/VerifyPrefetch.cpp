#include "verify/VerifyPrefetch.h"

#include "check/DirItemList.h"
#include "check/CheckTuning.h"
#include "verify/CachedVerify.h"

#include <algorithm>

namespace velmora {

CVerifyPrefetch::CVerifyPrefetch(int jobs, CResultCache *cache)
    : m_cache(cache)
{
    for (int i = 0; i < std::clamp(jobs, 1, kMaxJobs); ++i)
        m_workers.emplace_back([this] { RunWorker(); });
}

CVerifyPrefetch::~CVerifyPrefetch()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

void CVerifyPrefetch::Add(const QString &path)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_results.contains(path))
            return;
        m_results.insert(path, std::nullopt);
        m_queue.push_back(path);
    }
    m_work.notify_one();
}

bool CVerifyPrefetch::Holds(const QString &path)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_results.contains(path);
}

std::optional<SFileFindings> CVerifyPrefetch::Take(const QString &path)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_results.contains(path))
        return std::nullopt;
    m_done.wait(lock, [&] { return m_results.value(path).has_value(); });
    return m_results.take(path);
}

void CVerifyPrefetch::RunWorker()
{
    for (;;) {
        QString path;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_work.wait(lock, [&] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            path = m_queue.front();
            m_queue.pop_front();
        }
        SFileFindings findings = VerifyFileThroughCache(path, m_cache);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_results[path] = std::move(findings);
        }
        m_done.notify_all();
    }
}

void CVerifyPrefetchObserver::OnListCleared()
{
    if (m_next)
        m_next->OnListCleared();
}

void CVerifyPrefetchObserver::OnRowAdded(int row, int count)
{
    const _ITEMINFO &item = m_list.Item(row);
    if (!item.IsFolder())
        m_prefetch.Add(item.FullPath());
    if (m_next)
        m_next->OnRowAdded(row, count);
}

void CVerifyPrefetchObserver::OnItemCountSet(int count)
{
    if (m_next)
        m_next->OnItemCountSet(count);
}

void CVerifyPrefetchObserver::OnRowsRedrawn(int first, int last)
{
    if (m_next)
        m_next->OnRowsRedrawn(first, last);
}

void CVerifyPrefetchObserver::OnColumnHeadersRenamed()
{
    if (m_next)
        m_next->OnColumnHeadersRenamed();
}

void CVerifyPrefetchObserver::OnColumnAutoSized(int column)
{
    if (m_next)
        m_next->OnColumnAutoSized(column);
}

void CVerifyPrefetchObserver::OnBusyChanged(bool busy)
{
    if (m_next)
        m_next->OnBusyChanged(busy);
}

void CVerifyPrefetchObserver::OnProgress(int done, int total)
{
    if (m_next)
        m_next->OnProgress(done, total);
}

} // namespace velmora
