#include "check/FileMerge.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/FileList.h"
#include "inspect/SongGrouping.h"

namespace velmora {

namespace {

// The song is items[first] and the `joined` rows after it, side by side in directory order.
// The row of the list's first file stays (the song takes its path), moved to the group's last
// place; the others are left behind for the merge to drop. Rows outside the group are never
// touched, whatever their names: a file whose name differs from the first one only in case
// is another file. Returns the kept row's new index.
int KeepFirstFileRow(CArray<_ITEMINFO> &items, int first, int joined, const QString &firstName)
{
    const int last = first + joined;
    int kept = first;
    for (int index = first; index <= last; ++index) {
        if (items[index].FirstFileName() == firstName) {
            kept = index;
            break;
        }
    }
    if (kept != last)
        items[last] = std::move(items[kept]);
    return last;
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
            QStringList members;
            const int joined = GroupSongFiles(items, next, members);
            if (joined > 0) {
                next = KeepFirstFileRow(items, next, joined, members.first());
                items[next].SetFileNames(members);
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
