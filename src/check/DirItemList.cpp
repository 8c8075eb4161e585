#include "check/DirItemList.h"

#include "base/RunLogs.h"
#include "cache/ResultCache.h"
#include "check/DirListObserver.h"
#include "inspect/FileList.h"
#include "platform/FindFile.h"
#include "platform/StopRequest.h"
#include "widgets/ShGetFileInfo.h"

#include <algorithm>
#include <functional>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CDirItemList::CDirItemList()
    : m_headers{u"Filename"_s, u"Type"_s, u"Title"_s, u"Artist"_s, u"Album"_s, u"Duration"_s, u"Result"_s}
{
}

CResultCache *CDirItemList::UsableCache() const
{
    return m_pCache && m_pCache->Usable() ? m_pCache : nullptr;
}

void CDirItemList::KeepResults(ECacheKind kind, const QList<SKeptResult> &kept)
{
    CResultCache *cache = UsableCache();
    for (const SKeptResult &result : kept) {
        if (cache)
            cache->Store(kind, result.key, result.value);
    }
}

CDirItemList::CCheckScope::CCheckScope(CDirItemList &list)
    : m_list(list)
{
    m_list.m_bChecking = true;
    m_list.m_bStopRequested = false;
    CStopRequest::Clear();
    if (m_list.m_observer)
        m_list.m_observer->OnBusyChanged(true);
}

CDirItemList::CCheckScope::~CCheckScope()
{
    m_list.m_bChecking = false;
    if (m_list.m_observer)
        m_list.m_observer->OnBusyChanged(false);
    m_list.m_bStopRequested = false;
    CStopRequest::Clear();
}

void CDirItemList::RequestStop()
{
    if (!m_bChecking)
        return;
    m_bStopRequested = true;
    CStopRequest::Raise();
}

bool CDirItemList::AddListItem(const SFindRecord &record, const QString &path, int duration)
{
    if (m_nTopLevel == 0)
        WriteLog(Progress, u"LIST, AddListItem %s\r\n", LogSafePath(path));

    _ITEMINFO item;
    item.dwFlags = ITEM_WALK | ITEM_COLOURED;
    item.dwFileAttributes = record.dwFileAttributes;
    item.ftCreationTime = record.ftCreationTime;
    item.ftLastAccessTime = record.ftLastAccessTime;
    item.ftLastWriteTime = record.ftLastWriteTime;
    item.nFileSize = record.nFileSize;
    item.SetFileNames({record.cFileName});
    item.SetPath(path);
    item.nDuration = duration;
    item.anSettings[5] = 0xFFF7;

    const bool folder = record.IsFolder();
    CShGetFileInfo &shell = CShGetFileInfo::Instance();
    item.nIcon = shell.IconIndex(path, folder, record.cFileName == u".."_s);
    item.nSelectedIcon = folder ? shell.IconIndex(path, true, true) : item.nIcon;
    item.szType = shell.TypeName(path, folder);

    const int row = m_items.Add(std::move(item));
    if (m_observer)
        m_observer->OnRowAdded(row, m_items.GetSize());
    return true;
}

bool CDirItemList::StopBeforeFile(int done, int total)
{
    if (m_observer)
        m_observer->OnProgress(done, total);
    m_bStopRequested = m_bStopRequested || CStopRequest::IsRaised();
    if (!m_bStopRequested)
        return false;
    WriteLog(Plain, u"LIST, Check stopped by the user after %d of %d files\r\n", done, total);
    return true;
}

void CDirItemList::ClearList()
{
    m_items.RemoveAll();
    if (m_observer)
        m_observer->OnListCleared();
}

bool CDirItemList::RemoveItems(QList<int> rows)
{
    if (m_bChecking)
        return false;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows)
        if (row >= 0 && row < GetItemCount())
            m_items.RemoveAt(row);
    ShowAllRows();
    return true;
}

QString CDirItemList::ColumnHeader(int column) const
{
    return m_headers.value(column);
}

void CDirItemList::RenameColumnHeaders(const QString &second, const QString &third, const QString &fourth)
{
    m_headers[2] = second;
    m_headers[3] = third;
    m_headers[4] = fourth;
    if (m_observer)
        m_observer->OnColumnHeadersRenamed();
}

void CDirItemList::ShowRow(int row)
{
    if (!m_observer)
        return;
    m_observer->OnRowsRedrawn(row, row);
    m_observer->OnItemCountSet(row);
}

void CDirItemList::ShowAllRows()
{
    if (!m_observer)
        return;
    const int count = GetItemCount();
    m_observer->OnItemCountSet(count);
    if (count > 0)
        m_observer->OnRowsRedrawn(0, count - 1);
    for (int column = 2; column <= 4; ++column)
        m_observer->OnColumnAutoSized(column);
}

void CDirItemList::RedrawRow(int row)
{
    if (m_observer)
        m_observer->OnRowsRedrawn(row, row);
}

} // namespace velmora
