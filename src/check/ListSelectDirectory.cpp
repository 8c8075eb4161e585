#include "check/ListSelectDirectory.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "check/MediaDetailsCheck.h"
#include "check/SongCheck.h"

namespace velmora {

namespace {
constexpr QStringView kSeparator = u"================================================\r\n";
}

void ListSelectDirectory(CDirItemList &list, const QString &path)
{
    if (path.isEmpty() || list.IsChecking())
        return;
    const CDirItemList::CCheckScope scope(list);
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
