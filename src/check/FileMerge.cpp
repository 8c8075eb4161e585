#include "check/FileMerge.h"

#include "app/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/FileList.h"
#include "inspect/SongGrouping.h"

namespace velmora {

namespace {

// Removes `count` rows from `first` on, passing over the row that holds firstName.
void RemoveMergedRows(CArray<_ITEMINFO> &items, int first, int count, const QString &firstName)
{
    int index = first;
    for (int removed = 0; removed < count && index < items.GetSize();) {
        if (items[index].szFileName.Text().compare(firstName, Qt::CaseInsensitive) == 0) {
            ++index;
        } else {
            items.RemoveAt(index);
            ++removed;
        }
    }
}

} // namespace

void FileMerge(CDirItemList &list)
{
    for (int n = 0; n < list.GetItemCount(); ++n) {
        if (!list.Item(n).IsWalkItem())
            continue;
        QString fileList;
        const int joined = GroupSongFiles(list.m_items, n, fileList);
        if (joined > 0) {
            RemoveMergedRows(list.m_items, n, joined, fileList.section(u';', 0, 0));
            if (n < list.GetItemCount())
                list.Item(n).szFileName = fileList;
        }
        if (n < list.GetItemCount()) {
            WriteLog(Progress, u"LIST, Item FileMerge %s\r\n", LogSafePath(list.Item(n).szFileName));
            list.ShowRow(n);
        }
    }
}

} // namespace velmora
