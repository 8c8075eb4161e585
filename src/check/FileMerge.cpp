#include "check/FileMerge.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/FileList.h"
#include "inspect/SongGrouping.h"

#include <QVarLengthArray>

namespace velmora {

namespace {

// Removes `count` rows from `first` on, passing over the rows that hold firstName, and
// returns where the rows that are left now begin. Rows before `first` are never touched, so
// instead of closing each gap at once (moving every later row, for every song) the rows
// passed over slide up to just before the end of the scan and `first` moves past the gap.
int RemoveMergedRows(CArray<_ITEMINFO> &items, int first, int count, const QString &firstName)
{
    QVarLengthArray<int, 8> kept;
    int index = first;
    for (int removed = 0; removed < count && index < items.GetSize(); ++index) {
        if (items[index].szFileName.Text().compare(firstName, Qt::CaseInsensitive) == 0)
            kept.append(index);
        else
            ++removed;
    }
    int to = index;
    for (qsizetype k = kept.size() - 1; k >= 0; --k) {
        if (--to != kept.at(k))
            items[to] = std::move(items[kept.at(k)]);
    }
    return to;
}

} // namespace

// Rows [0, done) are finished, rows [next, size) still to merge; the rows between are
// removed ones, dropped when the merge ends. Row `done` is in place before it is logged and
// shown, so whatever reads the rows up to the shown count sees the merged list.
void FileMerge(CDirItemList &list)
{
    CArray<_ITEMINFO> &items = list.m_items;
    int done = 0;
    for (int next = 0; next < items.GetSize(); ++next, ++done) {
        const bool walkItem = items[next].IsWalkItem();
        if (walkItem) {
            QString fileList;
            const int joined = GroupSongFiles(items, next, fileList);
            if (joined > 0) {
                next = RemoveMergedRows(items, next, joined, fileList.section(u';', 0, 0));
                if (next >= items.GetSize())
                    break;
                items[next].szFileName = fileList;
            }
        }
        if (done != next)
            items[done] = std::move(items[next]);
        if (walkItem) {
            WriteLog(Progress, u"LIST, Item FileMerge %s\r\n", LogSafePath(items[done].szFileName));
            list.ShowRow(done);
        }
    }
    items.SetSize(done);
}

} // namespace velmora
