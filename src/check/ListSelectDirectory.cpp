#include "check/ListSelectDirectory.h"

#include "base/RunLogs.h"
#include "cache/ResultCache.h"
#include "check/DirItemList.h"
#include "check/MediaDetailsCheck.h"
#include "check/SongCheck.h"

namespace velmora {

namespace {

constexpr QStringView kSeparator = u"================================================\r\n";

// The results cache for one check, when the caller gave none and the tuning wants one: the
// window and the command line reach it the same way.
class COwnCache
{
public:
    explicit COwnCache(CDirItemList &list) : m_list(list)
    {
        if (m_list.m_pCache || !m_list.m_tuning.bUseCache)
            return;
        m_cache = std::make_unique<CResultCache>(ResultCachePath());
        m_list.m_pCache = m_cache.get();
    }
    ~COwnCache()
    {
        if (m_cache)
            m_list.m_pCache = nullptr;
    }
    COwnCache(const COwnCache &) = delete;
    COwnCache &operator=(const COwnCache &) = delete;

private:
    CDirItemList &m_list;
    std::unique_ptr<CResultCache> m_cache;
};

} // namespace

void ListSelectDirectory(CDirItemList &list, const QString &path)
{
    if (path.isEmpty() || list.IsChecking())
        return;
    const CDirItemList::CCheckScope scope(list);
    const COwnCache cache(list);
    list.ClearList();
    WriteLog(Plain, u"\r\n");
    WriteLog(Plain, kSeparator);
    WriteLog(Plain, u"LIST, ListSelectDirectory %s\r\n", path);
    WriteLog(Plain, kSeparator);
    list.m_strCurrentFolder = path;
    if (list.m_nTopLevel == 1)
        MediaDetailsCheck(list, path);
    else
        SongCheck(list, path);
}

} // namespace velmora
